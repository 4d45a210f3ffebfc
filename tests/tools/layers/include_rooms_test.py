#!/usr/bin/python3
"""The layer check over small trees of its own: an include that runs up is
named with its file and line and fails the check; includes down the layers,
within a room, from the free rooms and the listed exceptions pass.

Usage: include_rooms_test.py PATH_OF_include_rooms.py
"""

import contextlib
import importlib
import io
import os
import sys
import tempfile
import unittest

ROOMS = None  # the checker's module, loaded from the path given


def write_tree(root, files):
    for path, text in files.items():
        os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
        with open(os.path.join(root, path), "w", encoding="utf-8") as out:
            out.write(text)


def run_check(files):
    """(exit code, printed text) of the check over a tree of the given files."""
    with tempfile.TemporaryDirectory() as root:
        write_tree(root, files)
        printed = io.StringIO()
        with contextlib.redirect_stdout(printed):
            code = ROOMS.check(root)
        return code, printed.getvalue()


class IncludeRoomsTest(unittest.TestCase):
    def test_includes_that_keep_the_order_pass(self):
        cases = {
            "down_the_layers": {"game/render/A.cpp": '#include "game/ui/B.h"\n#include "helper/C.h"\n'},
            "within_a_room": {"game/render/manager/A.cpp": '#include "game/render/B.h"\n'},
            "drawing_rooms_on_the_headless_game": {"game/widgets/A.h": '#include "game/script/B.h"\n'},
            "free_rooms_include_anything": {"tests/game/ui/A.cpp": '#include "game/shell/B.h"\n',
                                            "tools/x/A.cpp": '#include "game/HalvexMain.cpp"\n'},
            "system_headers_are_not_rooms": {"helper/A.cpp": "#include <string>\n"},
            "known_exception": {"engine/sdl/GLQELSystemClass.cpp":
                                '#include "engine/net/QelEnetNetworkFactoryBase.h"\n'},
        }
        for name, files in cases.items():
            with self.subTest(name):
                code, printed = run_check(files)
                self.assertEqual(code, 0, printed)

    def test_an_include_that_runs_up_is_named_and_fails(self):
        cases = {
            "toolkit_on_the_scenes": ({"game/ui/A.cpp": '// one\n#include "game/shell/B.h"\n'},
                                      'game/ui/A.cpp:2: #include "game/shell/B.h"'),
            "render_on_the_widgets": ({"game/render/manager/A.h": '#include "game/widgets/B.h"\n'},
                                      'game/render/manager/A.h:1: #include "game/widgets/B.h"'),
            "headless_game_on_drawing": ({"game/net/A.cpp": '#  include "game/ui/B.h"\n'},
                                         'game/net/A.cpp:1: #include "game/ui/B.h"'),
            "relative_path_up": ({"game/ui/A.cpp": '#include "../render/B.h"\n', "game/render/B.h": ""},
                                 'game/ui/A.cpp:1: #include "game/render/B.h"'),
            "engine_on_the_game": ({"engine/base/A.cpp": '#include "game/world/B.h"\n'},
                                   'engine/base/A.cpp:1: #include "game/world/B.h"'),
            "graphics_on_the_system": ({"engine/gl/A.cpp": '#include "engine/sdl/B.h"\n'},
                                       'engine/gl/A.cpp:1: #include "engine/sdl/B.h"'),
        }
        for name, (files, named) in cases.items():
            with self.subTest(name):
                code, printed = run_check(files)
                self.assertEqual(code, 1, printed)
                self.assertIn(named, printed)


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(sys.argv.pop(1))))
    ROOMS = importlib.import_module("include_rooms")
    unittest.main()
