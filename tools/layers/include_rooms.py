#!/usr/bin/python3
"""The rooms of the source tree and the order of their layers.

Every source folder belongs to a room; a room may include its own headers and
those of the rooms below it, never one above. Two uses:

  include_rooms.py check SOURCE_TREE   lists every include that runs up the
                                       layers (file, line, the include) and
                                       fails if there is one
  include_rooms.py graph SOURCE_TREE   prints how many includes go from each
                                       room to each other room

tools/, tests/, bench/ and fuzz/ stand above everything and may include
anything; the graph counts them, the check does not.
"""

import os
import re
import sys

# Each room and the rooms it may include (besides itself). A room's folder
# holds its subfolders too (game/render/manager is game/render).
ENGINE = ["engine/base", "helper"]
# The headless game: what the server runs without a window.
WORLD = ["game/world"] + ENGINE
# What the interface keeps without drawing (style strings, the retained GUI's
# tree): the network and the scripts use it, so it stands on the world alone.
GUI_MODEL = ["game/guimodel"] + WORLD
HEADLESS_GAME = ["game/script", "game/net", "game/behaviours", "engine/net"] + GUI_MODEL
MAY_INCLUDE = {
    "helper": [],
    "engine/base": ["helper"],
    "engine/gl": ENGINE,
    "engine/sdl": ENGINE,
    "engine/net": ENGINE,
    "game/world": ENGINE,
    "game/guimodel": WORLD,
    "game/behaviours": GUI_MODEL,
    "game/net": ["game/behaviours", "engine/net"] + GUI_MODEL,
    "game/script": ["game/net", "game/behaviours", "engine/net"] + GUI_MODEL,
    # The interface toolkit knows the world's preferences and nothing of the
    # game that runs.
    "game/ui": GUI_MODEL,
    # The rooms that draw stand on the whole headless game: they show the
    # client's mirror of the world, send crew commands and, on the server's
    # own screen, are the screen the mission's script talks to.
    "game/render": ["game/ui"] + HEADLESS_GAME,
    "game/widgets": ["game/render", "game/ui"] + HEADLESS_GAME,
    "game/shell": ["game/widgets", "game/render", "game/ui"] + HEADLESS_GAME,
    # The one place that picks the platform: SDL and GL.
    "game/HalvexMain.cpp": ["game/shell", "game/widgets", "game/render", "game/ui", "engine/gl", "engine/sdl"]
                           + HEADLESS_GAME,
}

# Includes that run up today and are being taken out on their own: each is
# (file, included header). The check passes them by; remove an entry once its
# include is gone.
KNOWN_EXCEPTIONS = {
    # The system service makes the network's factory; it is to pass through
    # engine/base like the window size and the message box.
    ("engine/sdl/GLQELSystemClass.cpp", "engine/net/QelEnetNetworkFactoryBase.h"),
}

# Rooms above every layer: harnesses, tests, benchmarks and fuzz targets.
FREE_ROOMS = ["tools", "tests", "bench", "fuzz"]

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".c")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def room_of(path):
    """The room of a path relative to the source tree, or None outside every room."""
    for room in sorted(list(MAY_INCLUDE) + FREE_ROOMS, key=len, reverse=True):
        if path == room or path.startswith(room + "/"):
            return room
    return None


def source_files(tree):
    """Every source file of the rooms, relative to the tree, in a stable order."""
    for top in ["helper", "engine", "game"] + FREE_ROOMS:
        for folder, subfolders, files in os.walk(os.path.join(tree, top)):
            subfolders.sort()
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(folder, name), tree)


def includes(tree, path):
    """(line number, included path relative to the tree) for each project include of the file."""
    folder = os.path.dirname(path)
    with open(os.path.join(tree, path), encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            name = match.group(1)
            # A header beside the file is its own room's; others are named from the tree's top.
            if os.path.exists(os.path.join(tree, folder, name)):
                name = os.path.normpath(os.path.join(folder, name))
            yield number, name


def upward_includes(tree):
    """(file, line, included header) for each include that runs up the layers."""
    for path in source_files(tree):
        room = room_of(path)
        if room is None or room in FREE_ROOMS:
            continue
        for number, name in includes(tree, path):
            target = room_of(name)
            if target is None or target == room or target in MAY_INCLUDE[room]:
                continue
            if (path, name) in KNOWN_EXCEPTIONS:
                continue
            yield path, number, name


def include_counts(tree):
    """{(room, included room): count} over every source file."""
    counts = {}
    for path in source_files(tree):
        room = room_of(path)
        for _, name in includes(tree, path):
            target = room_of(name)
            if room is not None and target is not None and target != room:
                counts[(room, target)] = counts.get((room, target), 0) + 1
    return counts


def check(tree):
    found = list(upward_includes(tree))
    for path, number, name in found:
        print(f'{path}:{number}: #include "{name}" runs up the layers: {room_of(path)} may not include '
              f'{room_of(name)}')
    if found:
        print(f"{len(found)} include(s) run up the layers; the order is in {os.path.relpath(__file__, tree)}")
        return 1
    print("No include runs up the layers.")
    return 0


def graph(tree):
    for (room, target), count in sorted(include_counts(tree).items()):
        print(f"{room:22} -> {target:22} {count:5}")
    return 0


def main(argv):
    if len(argv) != 3 or argv[1] not in ("check", "graph") or not os.path.isdir(argv[2]):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    return check(argv[2]) if argv[1] == "check" else graph(argv[2])


if __name__ == "__main__":
    sys.exit(main(sys.argv))
