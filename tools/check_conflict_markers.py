#!/usr/bin/env python3
"""Refuses a tree in which a tracked file still holds a merge's conflict markers.

A marker is a line that begins with seven '<', '>' or '|' followed by a space
or the line's end; a line of exactly seven '=' counts only in a file that has
one of those (alone it is a Markdown heading's underline). Binary files are
passed over. Prints each marker as FILE:LINE: TEXT and exits 1 when there is
one. Outside a Git checkout every file under the root is read.
"""
import os
import re
import subprocess
import sys

OPENING_OR_CLOSING = re.compile(rb"^(<{7}|>{7}|\|{7})( |$)")
SEPARATOR = re.compile(rb"^={7}$")


def tracked_files(root):
    try:
        listing = subprocess.run(["git", "-C", root, "ls-files", "-z"], check=True,
                                 capture_output=True).stdout
        return [name.decode("utf-8", "surrogateescape") for name in listing.split(b"\0") if name]
    except (OSError, subprocess.CalledProcessError):
        names = []
        for folder, subfolders, files in os.walk(root):
            subfolders[:] = [d for d in subfolders if d not in (".git", "build")]
            names += [os.path.relpath(os.path.join(folder, f), root) for f in files]
        return names


def markers_in(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError:
        return []  # a tracked file deleted in the work tree
    if b"\0" in data:
        return []
    lines = data.split(b"\n")
    found = [(i + 1, line) for i, line in enumerate(lines) if OPENING_OR_CLOSING.match(line.rstrip(b"\r"))]
    if found:
        found += [(i + 1, line) for i, line in enumerate(lines) if SEPARATOR.match(line.rstrip(b"\r"))]
    return sorted(found)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else "."
    bad = 0
    for name in tracked_files(root):
        path = os.path.join(root, name)
        if not os.path.isfile(path) or os.path.islink(path):
            continue
        for number, line in markers_in(path):
            print(f"{name}:{number}: conflict marker: {line.decode('utf-8', 'replace').rstrip()}")
            bad += 1
    if bad:
        print(f"check_conflict_markers: {bad} conflict marker line(s); resolve the merge before committing",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
