#!/usr/bin/env python3
"""Fails when an #include crosses the layers of the game in the wrong direction.

Usage: tools/check_layers.py [SOURCE_ROOT]

Every .h and .cpp file of the game's folders belongs to one module (the table
MODULES below, first match wins); a module may include only the modules that
ALLOWED names for it. The plain C++ cores may include no Qt and no OpenAL
header at all. A game file that matches no module is an error too, so that a
new file is placed in the layers on purpose. tests/, bench/ and tools/ sit on
top and are not checked. docs/architecture.md draws the same rule.
"""

import pathlib
import re
import sys

# (module, path patterns relative to the source root; "*" stays within a
# folder, "**" crosses folders). First match wins.
MODULES = [
    ("lcd-core", ["lcd/sprite_layout.*", "lcd/sprite_tables.*", "lcd/sprite_model.*",
                  "lcd/sprite_display.h", "lcd/hit_test.h"]),
    ("records", ["engine/records/*"]),
    ("engine", ["engine/*"]),
    ("media-core", ["media/byte_source.*", "media/dx_sound.*", "media/dx_timer.*", "media/wave.*",
                    "media/wave_list.*", "media/wave_stream.*", "media/media_errors.h",
                    "media/sound_platform.h"]),
    ("media", ["media/*"]),
    ("lcd", ["lcd/*"]),
    ("controls", ["controls/*"]),
    ("assets", ["assets/**"]),
    ("gamewindow", ["gamewindow/*"]),
    ("startscreen", ["startscreen/skin/launch.*", "startscreen/skin/skin_check.*", "startscreen/skin/skin_export.*", "startscreen/*"]),
    ("skin-core", ["startscreen/skin/*"]),
    ("app", ["app/*"]),
]

# Plain C++: no Qt, no OpenAL, only other cores below them.
CORES = {"lcd-core", "engine", "media-core", "skin-core"}

# Who may include whom (a module may always include itself).
ALLOWED = {
    "lcd-core": set(),
    "engine": {"lcd-core"},
    "media-core": set(),
    "skin-core": {"lcd-core", "engine"},
    "lcd": {"lcd-core"},
    "records": {"engine", "lcd-core"},
    "media": {"media-core", "engine", "lcd-core", "assets"},
    "controls": {"lcd", "lcd-core", "engine", "media", "media-core"},
    "assets": {"lcd", "lcd-core", "engine"},
    "gamewindow": {"lcd", "lcd-core", "engine", "records", "media", "media-core", "controls", "assets"},
    "startscreen": {"gamewindow", "lcd", "lcd-core", "engine", "records", "media", "media-core",
                    "controls", "assets", "skin-core"},
    "app": {"startscreen", "gamewindow", "lcd", "lcd-core", "engine", "records", "media",
            "media-core", "controls", "assets", "skin-core"},
}

GAME_FOLDERS = ["app", "engine", "lcd", "controls", "startscreen", "media", "assets", "gamewindow"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_OR_OPENAL = re.compile(r"^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|AL/.*)$")


def pattern_regex(pattern):
    parts = re.split(r"(\*\*|\*)", pattern)
    return re.compile("".join(".*" if p == "**" else "[^/]*" if p == "*" else re.escape(p) for p in parts) + "$")


COMPILED = [(name, [pattern_regex(p) for p in patterns]) for name, patterns in MODULES]


def module_of(relative):
    for name, patterns in COMPILED:
        if any(p.match(relative) for p in patterns):
            return name
    return None


def check(root):
    problems = []
    for folder in GAME_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            relative = path.relative_to(root).as_posix()
            module = module_of(relative)
            if module is None:
                problems.append(f"{relative}: belongs to no module; add it to MODULES in {sys.argv[0]}")
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, target = m.groups()
                where = f"{relative}:{number}"
                if kind == "<":
                    if module in CORES and QT_OR_OPENAL.match(target):
                        problems.append(f"{where}: {module} is plain C++ but includes <{target}>")
                    continue
                if target.split("/")[0] not in GAME_FOLDERS:
                    continue
                if not (root / target).is_file():
                    problems.append(f"{where}: includes \"{target}\", which does not exist")
                    continue
                used = module_of(target)
                if used != module and used not in ALLOWED[module]:
                    problems.append(f"{where}: {module} may not include {used} (\"{target}\")")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[1])
    problems = check(root)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"layers: {len(problems)} include(s) in the wrong direction", file=sys.stderr)
        return 1
    print("layers: every include goes downwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
