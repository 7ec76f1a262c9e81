"""The sprite layout, read from the game's own table the first time a box
is asked for, never at import."""

import functools
import os


# --- The sprite layout (lcd/core/sprite_layout.txt, the game's own table) -----
# The folder of the built-in pictures, which holds this package.
SPRITES_FOLDER = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAYOUT_TABLE = os.path.join(SPRITES_FOLDER, "..", "..", "lcd", "core", "sprite_layout.txt")


def read_layout(table=LAYOUT_TABLE):
    """Every sprite in drawing order: name -> (left, top, width, height, transparent)."""
    layout = {}
    with open(table) as f:
        for number, line in enumerate(f, 1):
            if not line.strip() or line.startswith("#"):
                continue
            try:
                name, left, top, width, height, _start, pixels = line.split(None, 7)[:7]
                layout[name] = (int(left), int(top), int(width), int(height), pixels == "see-through")
            except ValueError:
                raise SystemExit("%s:%d: not name, left, top, width, height, start, pixels, key and role"
                                 % (table, number))
    return layout


@functools.cache
def sprites():
    """The table as read the first time it is asked for: name -> (left, top,
    width, height, transparent), in drawing order."""
    return read_layout()


def layout():
    """Every sprite's box in drawing order: name -> (left, top, width, height)."""
    return {name: entry[:4] for name, entry in sprites().items()}


def box(name):
    return sprites()[name][:4]


def is_transparent(name):
    """False for the sprites with no see-through pixel (the exit and sound buttons)."""
    return sprites()[name][4]
