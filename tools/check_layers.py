#!/usr/bin/env python3
"""Fails when an #include or a CMake link crosses the layers of the game in the
wrong direction.

Usage: tools/check_layers.py [SOURCE_ROOT]

Every module is a folder, named in the layering table of docs/architecture.md,
which this script reads (the table is written once, there); a file or a CMake
target belongs to the module of the deepest listed folder that holds it. A
module may include and link only itself and the modules its row names, and the
table itself may have no cycle. The plain C++ cores may include no Qt and no OpenAL
header and link no Qt or OpenAL library. Every include of ours is written from
the source root ("lcd/core/sprite_layout.h", not "sprite_layout.h"), so that
the folder it names is the module it uses. tests/, bench/ and tools/ sit on
top and are not checked; the game links nothing of theirs. docs/architecture.md
draws the same rule.
"""

import pathlib
import re
import sys

# The table lives once, in docs/architecture.md, between these two lines; a
# row is "| module | `folder/` | plain or Qt | what it may use |".
TABLE_PAGE = "docs/architecture.md"
TABLE_START = "<!-- layers:"
TABLE_END = "<!-- end of layers -->"
NOTHING = "nothing of ours"


class Table:
    """The layering table: each module's folder, kind and what it may use."""

    def __init__(self):
        self.modules = {}  # module name: its folder, relative to the source root
        self.allowed = {}  # module name: the modules it may include and link
        self.cores = set()  # plain C++: no Qt, no OpenAL
        self.problems = []


def read_table(root):
    """The table of docs/architecture.md, with what is wrong in its form."""
    table = Table()
    page = root / TABLE_PAGE
    try:
        lines = page.read_text(encoding="utf-8").splitlines()
    except OSError as e:
        table.problems.append(f"{TABLE_PAGE}: cannot read the layering table: {e.strerror}")
        return table
    starts = [i for i, line in enumerate(lines) if line.startswith(TABLE_START)]
    ends = [i for i, line in enumerate(lines) if line.startswith(TABLE_END)]
    if len(starts) != 1 or len(ends) != 1 or ends[0] < starts[0]:
        table.problems.append(f"{TABLE_PAGE}: the layering table must stand once between "
                              f"'{TABLE_START} ...' and '{TABLE_END}'")
        return table
    for number in range(starts[0] + 1, ends[0]):
        line = lines[number].strip()
        where = f"{TABLE_PAGE}:{number + 1}"
        if not line:
            continue
        cells = [c.strip() for c in line.strip("|").split("|")]
        if cells and (cells[0] == "module" or set(cells[0]) <= {"-", ":"}):
            continue  # the header and its rule
        if len(cells) != 4 or not cells[1].startswith("`") or cells[2] not in ("plain", "Qt"):
            table.problems.append(f"{where}: a row is | module | `folder/` | plain or Qt | modules it may use |")
            continue
        name, folder, kind, used = cells
        if name in table.modules:
            table.problems.append(f"{where}: module {name} has a second row")
            continue
        table.modules[name] = folder.strip("`").rstrip("/")
        table.allowed[name] = set() if used == NOTHING else {u.strip() for u in used.split(",")}
        if kind == "plain":
            table.cores.add(name)
    if not table.modules:
        table.problems.append(f"{TABLE_PAGE}: the layering table has no rows")
    return table


# Sources the build generates into its own tree, each from a table in ours:
# an include of one is checked as any other, its table standing in for it.
GENERATED = {
    "lcd/core/sprite_ids.h": "lcd/core/sprite_layout.txt",
    "lcd/core/sprite_layout_rows.inc": "lcd/core/sprite_layout.txt",
    "assets/startscreen/pictures/startscreen_picture_table.h": "assets/startscreen/pictures/pictures.txt",
}

# Folders on top of the game: they may use everything and are not checked.
ON_TOP = {"tests", "bench", "tools"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_OR_OPENAL_HEADER = re.compile(r"^(Q[A-Za-z]*|Qt[A-Za-z]*/.*|AL/.*)$")
QT_OR_OPENAL_LIBRARY = re.compile(r"^(Qt6?::.*|OpenAL::.*)$")
LINK_KEYWORDS = {"PUBLIC", "PRIVATE", "INTERFACE", "LINK_PUBLIC", "LINK_PRIVATE", "LINK_INTERFACE_LIBRARIES"}


def roots(table):
    """The top folders that hold modules: an include of ours starts with one."""
    return sorted({folder.split("/")[0] for folder in table.modules.values()})


def module_of(table, relative):
    """The module of a path relative to the source root, or None."""
    best = None
    for name, folder in table.modules.items():
        if relative == folder or relative.startswith(folder + "/"):
            if best is None or len(folder) > len(table.modules[best]):
                best = name
    return best


def table_problems(table):
    problems = list(table.problems)
    allowed = table.allowed
    for name, used in allowed.items():
        for u in sorted(used - set(table.modules)):
            problems.append(f"{TABLE_PAGE}: the row of {name} names {u}, which is no module")
    # Depth-first search for a way back to where it started.
    state = {}

    def visit(name, path):
        state[name] = "open"
        for used in sorted(allowed.get(name, ())):
            if state.get(used) == "open":
                cycle = path[path.index(used):] + [used]
                problems.append(f"{TABLE_PAGE}: the table has a cycle: {' -> '.join(cycle)}")
            elif used not in state and used in allowed:
                visit(used, path + [used])
        state[name] = "done"

    for name in sorted(allowed):
        if name not in state:
            visit(name, [name])
    return problems


def rooted_hint(table, root, including, target):
    """The include as it should be written, when one file of ours fits."""
    beside = including.parent / target
    if beside.is_file():
        return f' ("{beside.relative_to(root).as_posix()}")'
    name = pathlib.PurePosixPath(target).name
    found = [p.relative_to(root).as_posix() for folder in roots(table) for p in (root / folder).rglob(name)]
    return f' ("{found[0]}")' if len(found) == 1 else ""


def source_folders(table, root):
    """The top folders whose C++ files are checked: every folder of the tree but
    those on top of the game and what the build and npm leave behind, so that a
    new folder of code is checked (and refused until the table names it)."""
    found = set(roots(table))
    for entry in root.iterdir():
        if entry.is_dir() and not entry.name.startswith((".", "build")) and entry.name not in ON_TOP:
            found.add(entry.name)
    return sorted(found)


def include_problems(table, root):
    problems = []
    top = set(roots(table))
    for folder in source_folders(table, root):
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp") or not path.is_file() or "node_modules" in path.parts:
                continue
            relative = path.relative_to(root).as_posix()
            module = module_of(table, relative)
            if module is None:
                problems.append(f"{relative}: belongs to no module; give its folder a row in "
                                f"the layering table of {TABLE_PAGE}")
                continue
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                kind, target = m.groups()
                where = f"{relative}:{number}"
                first = target.split("/")[0]
                if kind == "<":
                    if module in table.cores and QT_OR_OPENAL_HEADER.match(target):
                        problems.append(f"{where}: {module} is plain C++ but includes <{target}>")
                    elif first in top and "/" in target and (root / target).is_file():
                        problems.append(f"{where}: includes our own <{target}>; write \"{target}\"")
                    continue
                if first not in top:
                    problems.append(f"{where}: \"{target}\" is not rooted at a module folder; "
                                    f"write it from the source root{rooted_hint(table, root, path, target)}")
                    continue
                if not (root / GENERATED.get(target, target)).is_file():
                    problems.append(f"{where}: includes \"{target}\", which does not exist")
                    continue
                used = module_of(table, target)
                if used != module and used not in table.allowed[module]:
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


def library_name(module):
    """The name of a module's library: one module, one name, e.g. pellox_lcd_core."""
    return "pellox_" + module.replace("-", "_")


def link_problems(table, root):
    """Every target_link_libraries edge of a game target against the table."""
    makers = library_functions(root)
    defined = {}  # target: (module or None, where)
    links = []  # (where, module, target, item)
    libraries = []  # (where, module, target) of each library a module makes
    for path in sorted(root.rglob("CMakeLists.txt")):
        relative = path.relative_to(root)
        if relative.parts[0].startswith(("build", ".")) or "node_modules" in relative.parts:
            continue
        folder = relative.parent.as_posix()
        module = module_of(table, folder)
        for line, command, arguments in cmake_commands(path):
            where = f"{relative.as_posix()}:{line}"
            if not arguments:
                continue
            if command in ("add_library", "add_executable") or command in makers:
                defined[arguments[0]] = (module, where)
                if module is not None and command != "add_executable":
                    libraries.append((where, module, arguments[0]))
            elif command == "target_link_libraries":
                for item in arguments[1:]:
                    if item not in LINK_KEYWORDS:
                        links.append((where, arguments[0], item))
    problems = [f"{where}: {target} is made in {module}; name it {name} or {name}_<part>"
                for where, module, target in libraries
                for name in [library_name(module)]
                if target != name and not target.startswith(name + "_")]
    for where, target, item in links:
        module = defined.get(target, (None, ""))[0]
        if module is None:
            continue  # tests, benchmarks and tools sit on top
        if item in defined:
            used, used_where = defined[item]
            if used is None:
                problems.append(f"{where}: {target} ({module}) links {item}, which is no game module "
                                f"(made at {used_where})")
            elif used != module and used not in table.allowed[module]:
                problems.append(f"{where}: {module} may not link {used} ({target} -> {item})")
        elif module in table.cores and QT_OR_OPENAL_LIBRARY.match(item):
            problems.append(f"{where}: {module} is plain C++ but {target} links {item}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[1])
    table = read_table(root)
    problems = table_problems(table)
    if table.modules and not table.problems:
        problems += include_problems(table, root) + link_problems(table, root)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        print(f"layers: {len(problems)} include(s) or link(s) against the layers", file=sys.stderr)
        return 1
    print("layers: every include and link goes downwards, the table has no cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
