#!/usr/bin/env python3
"""Writes the SVG sources of the built-in pictures (one file per sprite).

The SVG files are the committed sources the build renders; this script is how
we drew them, with the drawing library sprite_art/ beside it. Edit the
drawing there and run `python3 generate.py` in this folder, then commit the
scripts together with the SVGs they changed. `python3 generate.py DIR` writes
them into DIR instead (the tests compare that with the committed ones).
"""

import os
import sys

sys.dont_write_bytecode = True   # leave no cache beside the drawings

import sprite_art as art  # noqa: E402  (the drawing library beside this script)


def pictures():
    """Every built-in picture: name -> Picture."""
    out = {"imBckgrnd": art.background()}
    out.update((name, art.Picture(body, art.LCD)) for name, body in art.lcd_figures().items())
    out.update(art.game_buttons())
    out.update(art.round_buttons())
    return out


def main(out):
    drawn = pictures()
    missing = sorted(set(art.layout()) - set(drawn))
    if missing:
        raise SystemExit("no picture drawn for: " + ", ".join(missing))
    for name, picture in drawn.items():
        with open(os.path.join(out, name + ".svg"), "w") as f:
            f.write(art.svg_document(name, picture.body, picture.under, picture.defs))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
