#!/usr/bin/env python3
"""The layering check, run on a small tree of two modules: clean it passes, and
each fault planted in it fails the check with a line that names the fault."""

import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "tools" / "check_layers.py"

TABLE = """# The shape

<!-- layers: the table check_layers.py reads -->
| module | folder | kind | may include and link |
|---|---|---|---|
| core | `core/` | plain | nothing of ours |
| ui | `ui/` | Qt | core |
<!-- end of layers -->
"""

CLEAN = {
    "docs/architecture.md": TABLE,
    "core/rules.h": "#pragma once\n#include <vector>\n",
    "core/rules.cpp": '#include "core/rules.h"\n',
    "core/CMakeLists.txt": "add_library(pellox_core rules.cpp)\n",
    "ui/view.cpp": '#include <QWidget>\n#include "core/rules.h"\n',
    "ui/CMakeLists.txt": "add_library(pellox_ui view.cpp)\n"
                         "target_link_libraries(pellox_ui PRIVATE pellox_core Qt6::Widgets)\n",
}

# (what is planted, the files it changes, words the check must print)
FAULTS = [
    ("an include upwards", {"core/rules.cpp": '#include "ui/view.h"\n', "ui/view.h": ""},
     "core may not include ui"),
    ("Qt in a plain module", {"core/rules.cpp": "#include <QString>\n"},
     "core is plain C++ but includes <QString>"),
    ("an include not written from the root", {"ui/view.cpp": '#include "rules.h"\n'},
     'write it from the source root ("core/rules.h")'),
    ("an include of a missing file", {"ui/view.cpp": '#include "core/gone.h"\n'},
     'includes "core/gone.h", which does not exist'),
    ("our own header in angle brackets", {"ui/view.cpp": "#include <core/rules.h>\n"},
     'includes our own <core/rules.h>; write "core/rules.h"'),
    ("a folder with no row", {"extra/thing.cpp": "\n"},
     "extra/thing.cpp: belongs to no module"),
    ("a link upwards", {"core/CMakeLists.txt": "add_library(pellox_core rules.cpp)\n"
                                               "target_link_libraries(pellox_core PRIVATE pellox_ui)\n"},
     "core may not link ui"),
    ("Qt linked by a plain module", {"core/CMakeLists.txt": "add_library(pellox_core rules.cpp)\n"
                                                            "target_link_libraries(pellox_core PUBLIC Qt6::Core)\n"},
     "core is plain C++ but pellox_core links Qt6::Core"),
    ("a link to a test's library", {"tests/CMakeLists.txt": "add_library(test_helpers h.cpp)\n",
                                    "ui/CMakeLists.txt": "add_library(pellox_ui view.cpp)\n"
                                                         "target_link_libraries(pellox_ui PRIVATE test_helpers)\n"},
     "links test_helpers, which is no game module"),
    ("a library not named after its module", {"core/CMakeLists.txt": "add_library(game_rules rules.cpp)\n"},
     "game_rules is made in core; name it pellox_core or pellox_core_<part>"),
    ("a cycle in the table", {"docs/architecture.md": TABLE.replace("| plain | nothing of ours |", "| plain | ui |")},
     "the table has a cycle"),
    ("a row naming no module", {"docs/architecture.md": TABLE.replace("| Qt | core |", "| Qt | core, net |")},
     "the row of ui names net, which is no module"),
    ("a row of the wrong form", {"docs/architecture.md": TABLE.replace("| ui | `ui/` | Qt | core |", "| ui | core |")},
     "a row is | module |"),
    ("a module twice", {"docs/architecture.md": TABLE.replace("<!-- end", "| ui | `ui/` | Qt | core |\n<!-- end")},
     "module ui has a second row"),
    ("no table on the page", {"docs/architecture.md": "# The shape\n"},
     "the layering table must stand once"),
]


def write_tree(root, files):
    for name, text in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, encoding="utf-8")


def check(files):
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder)
        write_tree(root, files)
        return subprocess.run([sys.executable, str(SCRIPT), str(root)], capture_output=True, text=True)


class CheckLayersTest(unittest.TestCase):
    def test_clean_tree_passes(self):
        result = check(CLEAN)
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_each_planted_fault_fails(self):
        for what, changes, words in FAULTS:
            with self.subTest(what):
                result = check({**CLEAN, **changes})
                self.assertEqual(result.returncode, 1, f"{what}: passed\n{result.stdout}")
                self.assertIn(words, result.stderr)


if __name__ == "__main__":
    unittest.main()
