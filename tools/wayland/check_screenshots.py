#!/usr/bin/env python3
"""Checks the screenshots that run_on_weston.sh took against the game's own picture.

Usage: check_screenshots.py start_screen OUT_DIR   (start_screen.png)
       check_screenshots.py game OUT_DIR           (game.png, frame.png, wayland.log)

- start_screen.png: the start screen's green form is on the screen.
- game.png against frame.png (the game window's composed picture, purple where
  see-through): the window is found on the screen; wherever the picture is
  purple the compositor's background shows, and no purple pixel is on the screen
  at all; the other pixels are the picture's (the demo may have moved a few
  LCD sprites between the two pictures, hence a small allowance); everything
  outside the window is background, so the start screen has gone.
- wayland.log (the client's WAYLAND_DEBUG output): the last input region the
  game sent is exactly the picture's non-purple pixels, so a click on the
  purple goes to whatever lies beneath.
"""

import os
import re
import shutil
import struct
import subprocess
import sys

BACKGROUND = (0x20, 0x80, 0x40)  # weston.ini's background-color in run_on_weston.sh
PURPLE = (128, 0, 128)
START_SCREEN_GREEN = (0, 142, 0)
CHANGED_ALLOWANCE = 0.02  # of the window's opaque pixels


def convert_tool():
    # Some machines put a stand-in called convert earlier on PATH.
    return "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else shutil.which("convert")


def load(path):
    """(width, height, rows of (r, g, b))."""
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    width, height = struct.unpack(">II", head[16:24])
    raw = subprocess.run([convert_tool(), path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    if len(raw) != width * height * 3:
        raise SystemExit(f"{path}: {len(raw)} bytes of pixels for {width} x {height}")
    rows = [[tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]
    return width, height, rows


def top_left(rows, is_part):
    ys = [y for y, row in enumerate(rows) if any(is_part(p) for p in row)]
    xs = [x for row in rows for x, p in enumerate(row) if is_part(p)]
    return (min(xs), min(ys)) if xs and ys else None


def check_start_screen(path):
    _, _, rows = load(path)
    green = sum(p == START_SCREEN_GREEN for row in rows for p in row)
    print(f"start screen: {green} pixels of its green")
    return green > 50000


def check_game(shot_path, frame_path):
    sw, sh, shot = load(shot_path)
    fw, fh, frame = load(frame_path)
    see_through = sum(p == PURPLE for row in frame for p in row)
    if see_through < 1000:
        print(f"the game's picture has only {see_through} purple pixels: nothing to see through")
        return False
    on_screen = sum(p == PURPLE for row in shot for p in row)
    if on_screen:
        print(f"{on_screen} purple pixels on the screen")
        return False
    frame_corner = top_left(frame, lambda p: p != PURPLE)
    shot_corner = top_left(shot, lambda p: p != BACKGROUND)
    if shot_corner is None:
        print("nothing but background on the screen")
        return False
    ox, oy = shot_corner[0] - frame_corner[0], shot_corner[1] - frame_corner[1]
    if ox < 0 or oy < 0 or ox + fw > sw or oy + fh > sh:
        print(f"the window at {ox}, {oy} does not lie on the {sw} x {sh} screen")
        return False
    print(f"game window at {ox}, {oy} ({fw} x {fh})")
    holes_covered = changed = opaque = 0
    for y in range(fh):
        for x in range(fw):
            want, got = frame[y][x], shot[oy + y][ox + x]
            if want == PURPLE:
                holes_covered += got != BACKGROUND
            else:
                opaque += 1
                changed += got != want
    outside = sum(shot[y][x] != BACKGROUND for y in range(sh) for x in range(sw)
                  if not (ox <= x < ox + fw and oy <= y < oy + fh))
    print(f"see-through pixels not showing the background: {holes_covered} of {see_through}")
    print(f"opaque pixels that differ from the picture: {changed} of {opaque}")
    print(f"pixels outside the window that are not background: {outside}")
    return holes_covered == 0 and changed <= CHANGED_ALLOWANCE * opaque and outside == 0


def input_regions(log_path):
    """Every region sent with wl_surface.set_input_region, as lists of (x, y, w, h)."""
    building, sent = {}, []
    create = re.compile(r"create_region\(new id (wl_region@\d+)\)")
    add = re.compile(r"-> (wl_region@\d+)\.add\((-?\d+), (-?\d+), (\d+), (\d+)\)")
    use = re.compile(r"-> wl_surface@\d+\.set_input_region\((wl_region@\d+)\)")
    with open(log_path, errors="replace") as log:
        for line in log:
            if m := create.search(line):
                building[m[1]] = []
            elif m := add.search(line):
                building.setdefault(m[1], []).append(tuple(int(v) for v in m.groups()[1:]))
            elif m := use.search(line):
                sent.append(building.get(m[1], []))
    return sent


def check_input_region(log_path, frame_path):
    regions = input_regions(log_path)
    if not regions:
        print("the game sent no input region")
        return False
    fw, fh, frame = load(frame_path)
    inside = [bytearray(fw) for _ in range(fh)]
    for x, y, w, h in regions[-1]:
        for row in inside[max(y, 0):min(y + h, fh)]:
            row[max(x, 0):min(x + w, fw)] = b"\x01" * (min(x + w, fw) - max(x, 0))
    wrong = sum(bool(inside[y][x]) != (frame[y][x] != PURPLE) for y in range(fh) for x in range(fw))
    print(f"input region: {len(regions[-1])} rectangles, {wrong} pixels differ from the non-purple ones")
    return wrong == 0


def main():
    what, out = sys.argv[1], sys.argv[2]
    if what == "start_screen":
        ok = check_start_screen(os.path.join(out, "start_screen.png"))
    elif what == "game":
        ok = check_game(os.path.join(out, "game.png"), os.path.join(out, "frame.png"))
        ok = check_input_region(os.path.join(out, "wayland.log"), os.path.join(out, "frame.png")) and ok
    else:
        raise SystemExit(f"unknown check {what}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
