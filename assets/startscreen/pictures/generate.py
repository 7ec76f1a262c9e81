#!/usr/bin/env python3
"""Writes the SVG sources of the start screen's pictures.

The start screen is a green window; its pictures are drawn in the built-in
skin's style (flat LCD ink with clear-glass inner lines, the case's ivory and
tomato red), reusing the wolf, the hare, the bell and the basket of the
drawing library assets/sprites/sprite_art/. The pictures and their sizes are
listed in pictures.txt, which the build reads too. The SVG files are the
committed sources the build renders; edit the drawing here, run
`python3 generate.py` in this folder and commit the script together with the
SVGs it rewrote (`python3 generate.py DIR` writes them into DIR instead).
"""

import math
import os
import sys

sys.dont_write_bytecode = True   # leave no cache beside the drawing library

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = sys.argv[1] if len(sys.argv) > 1 else HERE
sys.path.insert(0, os.path.join(HERE, "..", "..", "sprites"))
import sprite_art as art  # noqa: E402  (the drawing library of the built-in pictures)
SEG, LCD, fmt = art.SEG, art.LCD, art.fmt
poly, polyline, path, circle, ellipse = art.poly, art.polyline, art.path, art.circle, art.ellipse

GREEN = "#008E00"        # the start screen's window

# Flag colours, a touch warm so that they sit with the ivory case.
FLAG_RED = "#C8201C"
FLAG_GOLD = "#F4C430"
JACK_BLUE = "#14286E"
JACK_RED = "#C8201C"
JACK_WHITE = "#FBF6EA"


def read_pictures():
    """pictures.txt: name -> (width, height, colour beneath or None for an opaque picture)."""
    pictures = {}
    with open(os.path.join(HERE, "pictures.txt")) as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                name, width, height, pixels = line.split()
                pictures[name] = (int(width), int(height), GREEN if pixels == "see-through" else None)
    return pictures


PICTURES = read_pictures()


def write_picture(name, body, defs=""):
    if name not in PICTURES:
        raise SystemExit("pictures.txt lists no size for the picture " + name)
    w, h, under = PICTURES[name]
    under_attr = ' data-under="%s"' % under if under else ""
    svg = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
           'width="%d" height="%d" viewBox="0 0 %d %d"%s>\n'
           '<title>%s</title>\n%s%s\n</svg>\n'
           % (w, h, w, h, under_attr, name, ("<defs>%s</defs>\n" % defs) if defs else "", body))
    with open(os.path.join(OUT, name + ".svg"), "w") as f:
        f.write(svg)


def group(shapes, transform):
    return '<g transform="%s">\n%s\n</g>' % (transform, "\n".join(shapes))


def sprite_body(figures, sprite):
    """A built-in figure (name -> body, as the library's figure routines give
    them) moved from the LCD's coordinates to the sprite's own box."""
    x, y, _, _ = art.box(sprite)
    return group([dict(figures)[sprite]], "translate(%s %s)" % (fmt(-x), fmt(-y)))


def egg(cx, cy, scale, deg, fill=SEG):
    return poly([(cx + px * scale, cy + py * scale) for px, py in art.rotate(art.egg_outline(), deg)], fill=fill)


# --- The wolf with his basket ------------------------------------------------------
def draw_wolf():
    # The sprite wolf (69 x 117, facing right) turned to face left, standing
    # in the right part of the picture; his basket held out on the left, an
    # egg dropping into it.
    ox, oy = 121 - 2, 4
    wolf = group(art.wolf_right_local(), "translate(%d %d) scale(-1 1)" % (ox, oy))
    to_pic = lambda p: (ox - p[0], oy + p[1])
    shoulder = to_pic(art.WOLF_SHOULDER)
    cx, top, width, depth = 24, 60, 40, 24
    basket = art.basket(cx, top, width, depth, 5)
    hand = (cx + width * 0.36, top + 2.5)
    elbow = ((shoulder[0] + hand[0]) / 2 + 1, (shoulder[1] + hand[1]) / 2 + 6)
    arm = art.arm(shoulder, elbow, hand)
    falling = [egg(20, 40, 1.05, -35),
               polyline([(9, 31), (11.5, 35)], SEG, 1.2), polyline([(13, 27), (15, 31.5)], SEG, 1.2)]
    write_picture("wolf", "\n".join([wolf] + arm + basket + falling))


# --- The hare ---------------------------------------------------------------------
def draw_hare():
    # The sprite hare as it is: 58 x 75 in the picture's upper-left corner
    # (the start screen shows the picture in a box of that size).
    write_picture("hare", sprite_body(art.hare_figures(), "imHare"))


# --- The bell ---------------------------------------------------------------------
def draw_bell():
    # The sprite bell, larger, on a turned handle: a hand bell.
    w, h, _ = PICTURES["bell"]
    x, y, bw, bh = art.box("imBell")
    s = 1.3
    bell_top = 15.5
    bell = group([sprite_body(art.bell_figures(), "imBell")],
                 "translate(%s %s) scale(%s)" % (fmt(w / 2 - bw / 2 * s), fmt(bell_top), fmt(s)))
    cx = w / 2
    handle = [
        path(art.smooth_closed([(cx - 2.6, 17), (cx - 3.2, 12.5), (cx - 2.4, 9.5), (cx - 4.2, 5.2), (cx - 3.4, 1.6),
                                (cx, 0.5), (cx + 3.4, 1.6), (cx + 4.2, 5.2), (cx + 2.4, 9.5), (cx + 3.2, 12.5), (cx + 2.6, 17)])),
        '<rect x="%s" y="12" width="11" height="3.4" rx="1.4" fill="%s"/>' % (fmt(cx - 5.5), SEG),   # collar
        polyline([(cx - 1.8, 3.0), (cx - 2.2, 6.4)], LCD, 1.0),
        polyline([(cx - 4, 13.7), (cx + 1.5, 13.7)], LCD, 0.9),
    ]
    write_picture("bell", "\n".join(handle + [bell]))


# --- The flags --------------------------------------------------------------------
def star_points(cx, cy, r_out, r_in, rot=-90):
    out = []
    for k in range(10):
        r = r_out if k % 2 == 0 else r_in
        a = math.radians(rot + 36 * k)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def hammer_and_sickle(cx, cy, size, colour):
    """The emblem in a size x size square centred at (cx, cy)."""
    u = size / 10.0
    P = lambda px, py: (cx + (px - 5) * u, cy + (py - 5) * u)
    # the sickle: a blade curving from the handle at the lower left round the
    # right side to a point at the upper left
    c_out, r_out = (5.0, 4.6), 4.3
    c_in, r_in = (4.5, 4.0), 3.3
    outer = [(c_out[0] + r_out * math.cos(math.radians(a)), c_out[1] + r_out * math.sin(math.radians(a)))
             for a in range(125, -196, -15)]
    inner = [(c_in[0] + r_in * math.cos(math.radians(a)), c_in[1] + r_in * math.sin(math.radians(a)))
             for a in range(-185, 126, 15)]
    blade = poly([P(*p) for p in outer + inner], fill=colour)
    handle = polyline([P(2.9, 8.3), P(1.0, 9.9)], colour, 1.5 * u)
    # the hammer: handle from the lower right to the head at the upper left
    shaft = polyline([P(8.9, 9.4), P(3.0, 3.5)], colour, 1.3 * u)
    head = [(-2.3, -0.85), (2.3, -0.85), (2.3, 0.85), (-2.3, 0.85)]
    head = [P(2.9 + x, 3.4 + y) for x, y in art.rotate(head, -45)]
    return [blade, handle, shaft, poly(head, fill=colour)]


def draw_soviet():
    w, h, _ = PICTURES["soviet"]
    out = ['<rect x="0" y="0" width="%d" height="%d" fill="%s"/>' % (w, h, FLAG_RED)]
    out.append(poly(star_points(8, 3.5, 2.7, 1.1), fill="none",
                    extra=' stroke="%s" stroke-width="0.7" stroke-linejoin="miter"' % FLAG_GOLD))
    out += hammer_and_sickle(8, 11, 9.6, FLAG_GOLD)
    write_picture("soviet", "\n".join(out))


def clip_convex(subject, clip):
    """Sutherland-Hodgman: the part of polygon subject inside the convex
    polygon clip, whichever way round clip's corners are listed."""
    def cross(a, b, p):
        return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])
    sign = 1 if sum(cross(clip[i], clip[(i + 1) % len(clip)], clip[(i + 2) % len(clip)])
                    for i in range(len(clip))) > 0 else -1
    out = subject
    for i in range(len(clip)):
        a, b = clip[i], clip[(i + 1) % len(clip)]
        inp, out = out, []
        for j in range(len(inp)):
            p, q = inp[j], inp[(j + 1) % len(inp)]
            pin, qin = sign * cross(a, b, p) >= 0, sign * cross(a, b, q) >= 0
            if pin:
                out.append(p)
            if pin != qin:
                t = cross(a, b, p) / (cross(a, b, p) - cross(a, b, q))
                out.append((p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t))
        if not out:
            break
    return out


def band(a, b, d0, d1):
    """The strip between offsets d0 and d1 (perpendicular) of the line a-b, extended past both ends."""
    dx, dy = b[0] - a[0], b[1] - a[1]
    n = math.hypot(dx, dy)
    ux, uy = dx / n, dy / n
    nx, ny = -uy, ux
    a2, b2 = (a[0] - ux * 10, a[1] - uy * 10), (b[0] + ux * 10, b[1] + uy * 10)
    return [(a2[0] + nx * d0, a2[1] + ny * d0), (b2[0] + nx * d0, b2[1] + ny * d0),
            (b2[0] + nx * d1, b2[1] + ny * d1), (a2[0] + nx * d1, a2[1] + ny * d1)]


def draw_british():
    w, h, _ = PICTURES["british"]
    u = h / 30.0            # the flag's unit: its height is 30
    cx, cy = w / 2, h / 2
    out = ['<rect x="0" y="0" width="%d" height="%d" fill="%s"/>' % (w, h, JACK_BLUE)]
    corners = [(0, 0), (w, 0), (w, h), (0, h)]
    # white saltire, 6 units wide
    for a, b in (((0, 0), (w, h)), ((w, 0), (0, h))):
        out.append(poly(clip_convex(band(a, b, -3 * u, 3 * u), corners), fill=JACK_WHITE))
    # red saltire, 2 units, counterchanged: in each quarter it lies on the side
    # of the diagonal turned clockwise from the centre (the broad white is
    # uppermost at the hoist)
    quarters = [
        ((cx, cy), (0, 0), [(cx, cy), (0, cy), (0, 0)]),      # upper hoist: below the diagonal
        ((cx, cy), (w, 0), [(cx, cy), (cx, 0), (w, 0)]),      # upper fly: above it
        ((cx, cy), (w, h), [(cx, cy), (w, cy), (w, h)]),      # lower fly: above it
        ((cx, cy), (0, h), [(cx, cy), (cx, h), (0, h)]),      # lower hoist: below it
    ]
    for a, b, triangle in quarters:
        strip = band(a, b, -2 * u, 2 * u)
        red = clip_convex(strip, triangle)
        if red:
            out.append(poly(red, fill=JACK_RED))
    # white cross 10 units, red cross 6 units; on whole pixels
    white, red = round(10 * u / 2) * 2, round(6 * u / 2) * 2
    for wd, colour in ((white, JACK_WHITE), (red, JACK_RED)):
        out.append('<rect x="%s" y="0" width="%d" height="%d" fill="%s"/>' % (fmt(cx - wd / 2), wd, h, colour))
        out.append('<rect x="0" y="%s" width="%d" height="%d" fill="%s"/>' % (fmt(cy - wd / 2), w, wd, colour))
    write_picture("british", "\n".join(out))


# --- The icon ----------------------------------------------------------------------
def wolf_head_local():
    """The sprite wolf's head (facing right), its ears and eye, without the neck."""
    shapes = art.wolf_right_local()
    return [shapes[3], shapes[4], shapes[5], shapes[6],          # head, ears, fur at the back
            ellipse(54, 18.5, 3.4, 3.6, fill=LCD), circle(55.4, 19.3, 1.9),
            polyline([(50.5, 13.4), (57.5, 14.8)], LCD, 1.4),
            polyline([(57, 28.6), (63, 27.8), (66, 26.5)], LCD, 1.5)]


def draw_icon():
    grad = ('<linearGradient id="case" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
            % (art.hexrgb(art.CASE_TOP), art.hexrgb(art.CASE_BOTTOM)))
    out = [
        # the ivory case, its rim and the tomato-red trim
        '<rect x="0.5" y="0.5" width="31" height="31" rx="6" fill="%s"/>' % art.CASE_RIM,
        '<rect x="1.5" y="1.5" width="29" height="29" rx="5" fill="url(#case)"/>',
        '<rect x="5" y="26" width="22" height="2.4" rx="1.2" fill="%s"/>' % art.ACCENT,
        # the glass in its dark frame
        '<rect x="3.5" y="3.5" width="25" height="20.5" rx="2" fill="%s"/>' % art.FACE,
        '<rect x="5" y="5" width="22" height="17.5" fill="%s"/>' % LCD,
    ]
    # the wolf's head, 34 x 35 in the sprite's units, filling the glass
    s = 0.5
    out.append(group(wolf_head_local(), "translate(%s %s) scale(%s)" % (fmt(16 - 51.5 * s), fmt(5.0), fmt(s))))
    write_picture("icon", "\n".join(out), defs=grad)


def main():
    draw_wolf()
    draw_hare()
    draw_bell()
    draw_soviet()
    draw_british()
    draw_icon()


if __name__ == "__main__":
    main()
