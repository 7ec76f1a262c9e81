#!/usr/bin/env python3
"""The start screen started from a folder over a large tree, as a desktop menu
starts the game from the home folder: from process start to the first paint,
to the game window painted after a press of the start button at that first
paint, and (where the probe has it) to the menu filled by the finished skin
search. Two probes, alternating in one run: typically this build and one of
an older commit.

big_tree_startup_bench.py PROBE [BASELINE_PROBE] [--files N] [--runs N] [--under DIR]

PROBE is build/bench/startscreen/startup_probe. The tree (N empty files,
1000 to a folder, folders 100 to a parent, 20 skins among them) is made in a
temporary folder under DIR (default: the system's temporary folder, which
should be on the local disk) and removed at the end. Uses the platform in
QT_QPA_PLATFORM (offscreen by default).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def make_tree(root, files):
    per_folder, folders_per_parent = 1000, 100
    for i in range(files):
        folder = os.path.join(root, f"p{i // (per_folder * folders_per_parent)}", f"f{i // per_folder}")
        if i % per_folder == 0:
            os.makedirs(folder, exist_ok=True)
        os.close(os.open(os.path.join(folder, f"file{i}.bmp"), os.O_CREAT | os.O_WRONLY, 0o644))
    skins = 20
    for k in range(skins):
        folder = os.path.join(root, f"p{k % max(1, files // (per_folder * folders_per_parent))}", f"skins{k}")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, f"skin{k}.ini"), "w") as f:
            f.write(f"[SETTINGS]\nver=1.6\ntitle=Skin {k}\n")


def run(probe, mode, env, cwd):
    start = time.time_ns()
    out = subprocess.run([probe, mode], env=env, cwd=cwd, capture_output=True, text=True, timeout=300)
    if out.returncode != 0 or not out.stdout.strip():
        sys.exit(f"{probe} {mode} failed: {out.stderr[-400:]}")
    return (int(out.stdout.split()[0]) - start) / 1e6


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("baseline", nargs="?")
    parser.add_argument("--files", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--under", default=None)
    args = parser.parse_args()
    probes = [("this", os.path.abspath(args.probe))]
    if args.baseline:
        probes.append(("baseline", os.path.abspath(args.baseline)))
    # A baseline from before the search left the user-interface thread fills
    # its menu before the first paint, and its probe has no --menu-filled; its
    # start button is usable from that first paint. Pressed, it would launch
    # the last skin found, which in this tree is a bare skin that fails.
    modes = ["--start-screen", "--game-window", "--menu-filled"]
    modes_of = {"this": modes, "baseline": modes[:1]}
    folder = tempfile.mkdtemp(prefix="pellox-big-tree-", dir=args.under)
    try:
        made = time.monotonic()
        make_tree(os.path.join(folder, "home"), args.files)
        print(f"{args.files} files made in {time.monotonic() - made:.0f} s under {folder}", file=sys.stderr)
        runtime = os.path.join(folder, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, PELLOX_RECORDS=os.path.join(folder, "records.conf"), XDG_RUNTIME_DIR=runtime,
                   ALSOFT_LOGLEVEL="0", HOME=os.path.join(folder, "home"), XDG_DATA_DIRS="/nonexistent")
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
        cwd = os.path.join(folder, "home")
        times = {(name, mode): [] for name, _ in probes for mode in modes_of[name]}
        for name, probe in probes:
            run(probe, "--start-screen", env, cwd)  # warm the caches
        for _ in range(args.runs):
            for mode in modes:
                for name, probe in probes:
                    if mode in modes_of[name]:
                        times[(name, mode)].append(run(probe, mode, env, cwd))
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"platform {env['QT_QPA_PLATFORM']}, {args.files} files under the start folder, {args.runs} runs each")
    print("%-9s %-15s %9s %9s %9s" % ("probe", "ms to", "min", "p50", "max"))
    what = {"--start-screen": "first paint", "--game-window": "game window", "--menu-filled": "menu filled"}
    for (name, mode), v in times.items():
        if v:
            print("%-9s %-15s %9.1f %9.1f %9.1f" % (name, what[mode], min(v), statistics.median(v), max(v)))
    if args.baseline:
        for mode in modes[:1]:
            a, b = times[("this", mode)], times[("baseline", mode)]
            if a and b:
                print(f"ratio of medians, {what[mode]} (this / baseline): {statistics.median(a) / statistics.median(b):.3f}")


if __name__ == "__main__":
    main()
