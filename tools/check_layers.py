#!/usr/bin/env python3
"""Fails when an #include or a CMake link crosses the layers of the game in the
wrong direction.

Usage: tools/check_layers.py [SOURCE_ROOT]

Every module is a folder (MODULES below); a file or a CMake target belongs to
the module of the deepest listed folder that holds it. A module may include
and link only itself and the modules that ALLOWED names for it, and the table
itself may have no cycle. The plain C++ cores may include no Qt and no OpenAL
header and link no Qt or OpenAL library. Every include of ours is written from
the source root ("lcd/core/sprite_layout.h", not "sprite_layout.h"), so that
the folder it names is the module it uses. tests/, bench/ and tools/ sit on
top and are not checked; the game links nothing of theirs. docs/architecture.md
draws the same rule.
"""

import pathlib
import re
import sys

# Module name: its folder, relative to the source root.
MODULES = {
    "lcd-core": "lcd/core",
    "engine": "engine",
    "media-core": "media/core",
    "skin": "skin",
    "skininstall": "skininstall",
    "lcd": "lcd",
    "raster": "raster",
    "records": "records",
    "assets": "assets",
    "media": "media",
    "controls": "controls",
    "gamewindow": "gamewindow",
    "gamepad": "gamepad",
    "skincommands": "skincommands",
    "startscreen": "startscreen",
    "app": "app",
    "web": "web",
}

# Plain C++: no Qt, no OpenAL, only other cores below them.
CORES = {"lcd-core", "engine", "media-core", "skin", "skininstall"}
# The page's glue is built for the browser alone: no Qt, no OpenAL either.
NO_QT = CORES | {"web"}

# Who may include and link whom (a module may always use itself).
ALLOWED = {
    "lcd-core": set(),
    "engine": {"lcd-core"},
    "media-core": set(),
    "skin": {"lcd-core", "engine"},
    "skininstall": {"skin", "lcd-core", "engine"},
    "lcd": {"lcd-core"},
    "raster": {"lcd-core"},
    "records": {"engine", "lcd-core"},
    "assets": {"lcd", "lcd-core", "engine", "raster"},
    "media": {"media-core", "engine", "lcd-core", "assets"},
    "controls": {"lcd", "lcd-core", "engine", "media", "media-core"},
    "gamewindow": {"lcd", "lcd-core", "engine", "records", "media", "media-core", "controls", "assets"},
    "gamepad": {"gamewindow", "controls", "lcd", "lcd-core", "engine", "media", "media-core"},
    "skincommands": {"skin", "skininstall", "lcd", "lcd-core", "engine", "media-core", "controls", "assets"},
    "startscreen": {"gamewindow", "lcd", "lcd-core", "engine", "records", "media", "media-core",
                    "controls", "assets", "skin", "skininstall"},
    "app": {"startscreen", "skincommands", "gamewindow", "gamepad", "lcd", "lcd-core", "engine", "records", "media",
            "media-core", "controls", "assets", "skin", "skininstall", "raster"},
    "web": {"engine", "lcd-core", "media-core", "skin", "skininstall"},
}

# Sources the build generates into its own tree, each from a table in ours:
# an include of one is checked as any other, its table standing in for it.
GENERATED = {
    "lcd/core/sprite_ids.h": "lcd/core/sprite_layout.txt",
    "lcd/core/sprite_layout_rows.inc": "lcd/core/sprite_layout.txt",
    "assets/startscreen/pictures/startscreen_picture_table.h": "assets/startscreen/pictures/pictures.txt",
}

SELF = "tools/check_layers.py"
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_OR_OPENAL_HEADER = re.compile(r"^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|AL/.*)$")
QT_OR_OPENAL_LIBRARY = re.compile(r"^(Qt6?::.*|OpenAL::.*)$")
LINK_KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE", "LINK_PUBLIC", "LINK_PRIVATE", "LINK_INTERFACE_LIBRARIES"}


def roots():
    """The top folders that hold modules: an include of ours starts with one."""
    return sorted({folder.split("/")[0] for folder in MODULES.values()})


def module_of(relative):
    """The module of a path relative to the source root, or None."""
    best = None
    for name, folder in MODULES.items():
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(MODULES[best]):
                best = name
    return best


def table_problems():
    problems = []
    for name in MODULES:
        if name not in ALLOWED:
            problems.append(f"{SELF}: module {name} has no row in ALLOWED")
    for name, used in ALLOWED.items():
        for u in sorted(used - set(MODULES)):
            problems.append(f"{SELF}: ALLOWED[{name}] names {u}, which is no module")
    # Depth-first search for a way back to where it started.
    state = {}

    def visit(name, path):
        state[name] = "open"
        for used in sorted(ALLOWED.get(name, ())):
            if state.get(used) == "open":
                cycle = path[path.index(used):] + [used]
                problems.append(f"{SELF}: the table has a cycle: {' -> '.join(cycle)}")
            elif used not in state and used in ALLOWED:
                visit(used, path + [used])
        state[name] = "done"

    for name in sorted(ALLOWED):
        if name not in state:
            visit(name, [name])
    return problems


def rooted_hint(root, including, target):
    """The include as it should be written, when one file of ours fits."""
    beside = including.parent / target
    if beside.is_file():
        return f' ("{beside.relative_to(root).as_posix()}")'
    name = pathlib.PurePosixPath(target).name
    found = [p.relative_to(root).as_posix() for folder in roots() for p in (root / folder).rglob(name)]
    return f' ("{found[0]}")' if len(found) == 1 else ""


def include_problems(root):
    problems = []
    top = set(roots())
    for folder in roots():
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file():
                continue
            relative = path.relative_to(root).as_posix()
            module = module_of(relative)
            if module is None:
                problems.append(f"{relative}: belongs to no module; add its folder to MODULES in {SELF}")
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, target = m.groups()
                where = f"{relative}:{number}"
                first = target.split("/")[0]
                if kind == "<":
                    if module in NO_QT and QT_OR_OPENAL_HEADER.match(target):
                        problems.append(f"{where}: {module} is plain C++ but includes <{target}>")
                    elif first in top and "/" in target and (root / target).is_file():
                        problems.append(f"{where}: includes our own <{target}>; write \"{target}\"")
                    continue
                if first not in top:
                    problems.append(f"{where}: \"{target}\" is not rooted at a module folder; "
                                    f"write it from the source root{rooted_hint(root, path, target)}")
                    continue
                if not (root / GENERATED.get(target, target)).is_file():
                    problems.append(f"{where}: includes \"{target}\", which does not exist")
                    continue
                used = module_of(target)
                if used != module and used not in ALLOWED[module]:
                    problems.append(f"{where}: {module} may not include {used} (\"{target}\")")
    return problems


def cmake_commands(path):
    """(line, command, arguments) of each command call in a CMake file."""
    text = path.read_text(encoding="utf-8", errors="replace")
    # Comments out; the characters stay so that line numbers hold.
    text = re.sub(r'#[^\n]*', lambda m: " " * len(m.group(0)), text)
    calls = []
    for m in re.finditer(r"\b([A-Za-z_][A-Za-z0-9_]*)\s*\(", text):
        depth, i = 1, m.end()
        while i < len(text) and depth:
            depth += {"(": 1, ")": -1}.get(text[i], 0)
            i += 1
        arguments = text[m.end():i - 1].split()
        calls.append((text.count("\n", 0, m.start()) + 1, m.group(1).lower(), arguments))
    return calls


def library_functions(root):
    """Functions of cmake/ that make a target named by their first argument."""
    makers = {}
    for path in sorted((root / "cmake").glob("*.cmake")):
        text = path.read_text(encoding="utf-8", errors="replace")
        for m in re.finditer(r"function\s*\(\s*(\w+)\s+(\w+)", text):
            body = text[m.end():text.find("endfunction", m.end())]
            if re.search(r"add_(library|executable)\s*\(\s*\$\{" + m.group(2) + r"\}", body):
                makers[m.group(1).lower()] = True
    return makers


def link_problems(root):
    """Every target_link_libraries edge of a game target against the table."""
    makers = library_functions(root)
    defined = {}  # target: (module or None, where)
    links = []  # (where, module, target, item)
    for path in sorted(root.rglob("CMakeLists.txt")):
        relative = path.relative_to(root)
        if relative.parts[0].startswith("build") or relative.parts[0].startswith("."):
            continue
        folder = relative.parent.as_posix()
        module = module_of(folder)
        for line, command, arguments in cmake_commands(path):
            where = f"{relative.as_posix()}:{line}"
            if not arguments:
                continue
            if command in ("add_library", "add_executable") or command in makers:
                defined[arguments[0]] = (module, where)
            elif command == "target_link_libraries":
                for item in arguments[1:]:
                    if item not in LINK_KEYWORDS:
                        links.append((where, arguments[0], item))
    problems = []
    for where, target, item in links:
        module = defined.get(target, (None, ""))[0]
        if module is None:
            continue  # tests, benchmarks and tools sit on top
        if item in defined:
            used, used_where = defined[item]
            if used is None:
                problems.append(f"{where}: {target} ({module}) links {item}, which is no game module "
                                f"(made at {used_where})")
            elif used != module and used not in ALLOWED[module]:
                problems.append(f"{where}: {module} may not link {used} ({target} -> {item})")
        elif module in NO_QT and QT_OR_OPENAL_LIBRARY.match(item):
            problems.append(f"{where}: {module} is plain C++ but {target} links {item}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[1])
    problems = table_problems() + include_problems(root) + link_problems(root)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"layers: {len(problems)} include(s) or link(s) against the layers", file=sys.stderr)
        return 1
    print("layers: every include and link goes downwards, the table has no cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
