#!/usr/bin/env python3
"""Writes the SVG sources of the built-in pictures (one file per sprite).

The SVG files are the committed sources the build renders; this script is how
we drew them. Edit the drawing here and run `python3 generate.py` in this
folder, then commit the script together with the SVGs it changed.

Coordinates: every sprite is drawn in the LCD's own pixel coordinates
(`scene` group translated by minus the sprite's top-left corner), so shapes
that must meet across sprites (eggs on chutes, arms at the wolf's shoulder,
digit segments) are designed in one coordinate system.
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# --- Palette ---------------------------------------------------------------
LCD = "#C5CBAF"          # the liquid crystal when nothing is lit
SEG = "#1E2420"          # a lit segment
PRINT = "#8D8A72"        # scenery printed on the glass (never switched)
PRINT_LIGHT = "#B2B59A"  # printed fills, one shade darker than the LCD
CASE_TOP = (0xF2, 0xE6, 0xC8)
CASE_BOTTOM = (0xD8, 0xC4, 0x9A)
CASE_RIM = "#8F7A55"
FACE = "#33302C"         # dark faceplate around the LCD
ACCENT = "#D2502E"       # tomato-red trim
INK = "#5B4631"          # printing on the case
CREAM = "#F3E7C9"

CASE_Y0, CASE_Y1 = 8, 524


def hexrgb(c):
    return "#%02X%02X%02X" % c


def case_colour_at(y):
    t = min(1.0, max(0.0, (y - CASE_Y0) / (CASE_Y1 - CASE_Y0)))
    return hexrgb(tuple(round(a + (b - a) * t) for a, b in zip(CASE_TOP, CASE_BOTTOM)))


# --- The built-in layout (must match lcd/sprite_layout.cpp) ------------------
LAYOUT = {}


def _layout():
    src = os.path.join(HERE, "..", "..", "lcd", "sprite_layout.cpp")
    import re
    for m in re.finditer(r'\{"(im\w+)", "[^"]*", \{(-?\d+), (-?\d+), (\d+), (\d+)\}', open(src).read()):
        LAYOUT[m.group(1)] = tuple(int(v) for v in m.groups()[1:])


_layout()


def box(name):
    return LAYOUT[name]


# --- SVG helpers -------------------------------------------------------------
def fmt(v):
    s = "%.2f" % v
    return s.rstrip("0").rstrip(".") if "." in s else s


def pts(points):
    return " ".join("%s,%s" % (fmt(x), fmt(y)) for x, y in points)


def poly(points, fill=SEG, extra=""):
    return '<polygon points="%s" fill="%s"%s/>' % (pts(points), fill, extra)


def polyline(points, stroke, width, extra=""):
    return ('<polyline points="%s" fill="none" stroke="%s" stroke-width="%s" '
            'stroke-linecap="round" stroke-linejoin="round"%s/>' % (pts(points), stroke, fmt(width), extra))


def path(d, fill=SEG, extra=""):
    return '<path d="%s" fill="%s"%s/>' % (d, fill, extra)


def stroke_path(d, stroke, width, extra=""):
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" '
            'stroke-linejoin="round"%s/>' % (d, stroke, fmt(width), extra))


def ellipse(cx, cy, rx, ry, fill=SEG, rot=0.0, extra=""):
    t = ' transform="rotate(%s %s %s)"' % (fmt(rot), fmt(cx), fmt(cy)) if rot else ""
    return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s%s/>' % (
        fmt(cx), fmt(cy), fmt(rx), fmt(ry), fill, t, extra)


def circle(cx, cy, r, fill=SEG, extra=""):
    return '<circle cx="%s" cy="%s" r="%s" fill="%s"%s/>' % (fmt(cx), fmt(cy), fmt(r), fill, extra)


def write_svg(name, body, under, defs=""):
    x, y, w, h = box(name)
    svg = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
           'width="%d" height="%d" viewBox="0 0 %d %d" data-under="%s">\n'
           '<title>%s</title>\n%s'
           '<g transform="translate(%d %d)">\n%s\n</g>\n</svg>\n'
           % (w, h, w, h, under, name, ("<defs>%s</defs>\n" % defs) if defs else "", -x, -y, body))
    with open(os.path.join(HERE, name + ".svg"), "w") as f:
        f.write(svg)


def lcd_sprite(name, body):
    write_svg(name, body, LCD)


# --- A small stroke font (letters on a 4 x 6 grid) ---------------------------
GLYPHS = {
    "A": [[(0, 6), (0, 2), (2, 0), (4, 2), (4, 6)], [(0, 3.6), (4, 3.6)]],
    "B": [[(0, 3), (3, 3), (4, 4), (4, 5), (3, 6), (0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3)]],
    "C": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5)]],
    "D": [[(0, 0), (0, 6), (2.4, 6), (4, 4.4), (4, 1.6), (2.4, 0), (0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "F": [[(4, 0), (0, 0), (0, 6)], [(0, 3), (3, 3)]],
    "G": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5), (4, 3.4), (2.2, 3.4)]],
    "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    "K": [[(0, 0), (0, 6)], [(4, 0), (0, 3.8)], [(1.6, 2.4), (4, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 3.2), (4, 0), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "O": [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]],
    "P": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "S": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6), (1, 6), (0, 5)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "U": [[(0, 0), (0, 5), (1, 6), (3, 6), (4, 5), (4, 0)]],
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "W": [[(0, 0), (1, 6), (2, 2.6), (3, 6), (4, 0)]],
    "X": [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    "Y": [[(0, 0), (2, 3), (4, 0)], [(2, 3), (2, 6)]],
    "-": [[(0.5, 3), (3.5, 3)]],
    " ": [],
}


def text_width(s, size, spacing):
    u = size / 6.0
    return sum((4 * u if ch != " " else 2.5 * u) for ch in s) + spacing * (len(s) - 1)


def text(s, x, y, size, colour, width, spacing=None, anchor="start", slant=0.0):
    """Stroke text with its top at y; anchor start/middle/end at x."""
    u = size / 6.0
    spacing = 1.6 * u if spacing is None else spacing
    total = text_width(s, size, spacing)
    if anchor == "middle":
        x -= total / 2
    elif anchor == "end":
        x -= total
    out = []
    for ch in s:
        for line in GLYPHS[ch]:
            out.append(polyline([(x + gx * u + slant * (6 - gy) * u, y + gy * u) for gx, gy in line], colour, width))
        x += (4 * u if ch != " " else 2.5 * u) + spacing
    return "\n".join(out)


# --- Geometry helpers --------------------------------------------------------
def rotate(points, deg, cx=0.0, cy=0.0):
    a = math.radians(deg)
    c, s = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c) for x, y in points]


def bbox(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


def smooth_closed(points):
    """Closed Catmull-Rom curve through the points, as an SVG path."""
    n = len(points)
    d = "M %s %s" % (fmt(points[0][0]), fmt(points[0][1]))
    for i in range(n):
        p0, p1, p2, p3 = points[i - 1], points[i], points[(i + 1) % n], points[(i + 2) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += " C %s %s %s %s %s %s" % (fmt(c1[0]), fmt(c1[1]), fmt(c2[0]), fmt(c2[1]), fmt(p2[0]), fmt(p2[1]))
    return d + " Z"


def mirror_x(points, axis):
    return [(2 * axis - x, y) for x, y in points]


# --- Eggs and chutes -----------------------------------------------------------
CHUTES = {"UL": [f"imEggUL{i}" for i in range(1, 6)], "DL": [f"imEggDL{i}" for i in range(1, 6)],
          "UR": [f"imEggUR{i}" for i in range(1, 6)], "DR": [f"imEggDR{i}" for i in range(1, 6)]}


def egg_outline(n=40):
    # An egg: the +x end is the blunt one.
    return [(6.0 * math.cos(t), 4.6 * math.sin(t) * (1 + 0.12 * math.cos(t)))
            for t in (2 * math.pi * i / n for i in range(n))]


def fitted_egg(name, spin):
    """The egg turned and scaled to fill its box best; spin picks the blunt end."""
    x, y, w, h = box(name)
    best = None
    for deg in range(0, 180):
        pts_ = rotate(egg_outline(), deg + spin)
        x0, y0, x1, y1 = bbox(pts_)
        s = min((w - 1.4) / (x1 - x0), (h - 1.4) / (y1 - y0))
        if best is None or s > best[0] + 1e-6:
            best = (s, deg)
    s, deg = best
    pts_ = [(px * s, py * s) for px, py in rotate(egg_outline(), deg + spin)]
    x0, y0, x1, y1 = bbox(pts_)
    ox, oy = x + w / 2 - (x0 + x1) / 2, y + h / 2 - (y0 + y1) / 2
    return [(px + ox, py + oy) for px, py in pts_]


def egg_centres(chute):
    return [(box(n)[0] + box(n)[2] / 2, box(n)[1] + box(n)[3] / 2) for n in CHUTES[chute]]


def chute_line(chute):
    """The chute's top surface: the line the eggs roll on (a, b of y = a x + b)."""
    cs = egg_centres(chute)
    n = len(cs)
    mx = sum(c[0] for c in cs) / n
    my = sum(c[1] for c in cs) / n
    a = sum((c[0] - mx) * (c[1] - my) for c in cs) / sum((c[0] - mx) ** 2 for c in cs)
    # Under the lowest-lying egg, so that every egg rests on the surface.
    drop = max(box(nm)[1] + box(nm)[3] - (a * (box(nm)[0] + box(nm)[2] / 2) + (my - a * mx))
               for nm in CHUTES[chute]) - 1.0
    return a, my - a * mx + drop


def chute_ends(chute):
    names = CHUTES[chute]
    top, mouth = box(names[0]), box(names[4])
    right_side = chute in ("UR", "DR")
    if right_side:
        x_top, x_mouth = top[0] + top[2] + 5, mouth[0] - 2
    else:
        x_top, x_mouth = top[0] - 5, mouth[0] + mouth[2] + 2
    a, b = chute_line(chute)
    return (x_top, a * x_top + b), (x_mouth, a * x_mouth + b)


def draw_eggs():
    for i, chute in enumerate(CHUTES):
        for step, name in enumerate(CHUTES[chute]):
            spin = (step * 70 + i * 25)  # the eggs roll: each step shows another turn
            lcd_sprite(name, poly(fitted_egg(name, spin)))


# --- Digits ----------------------------------------------------------------------
# One italic seven-segment digit designed on the ones place; the other places
# are the same picture (their boxes are the ones boxes shifted left).
SLANT = 0.125
Y_TOP, Y_MID, Y_BOT = 157.0, 176.0, 193.0
X_LEFT_AT_TOP, X_RIGHT_AT_TOP = 548.3, 561.8
HALF = 1.9   # half the thickness of a segment
GAP = 1.0    # clear glass between two segments


def left_x(y):
    return X_LEFT_AT_TOP - SLANT * (y - Y_TOP)


def right_x(y):
    return X_RIGHT_AT_TOP - SLANT * (y - Y_TOP)


def horizontal_segment(y):
    xa, xb = left_x(y) + GAP + HALF * 0.4, right_x(y) - GAP - HALF * 0.4
    return [(xa, y), (xa + HALF, y - HALF), (xb - HALF, y - HALF), (xb, y), (xb - HALF, y + HALF), (xa + HALF, y + HALF)]


def vertical_segment(line, ya, yb):
    ya += GAP + HALF * 0.4
    yb -= GAP + HALF * 0.4
    def at(y, dx):
        return (line(y) + dx, y)
    return [at(ya, 0), at(ya + HALF, HALF), at(yb - HALF, HALF), at(yb, 0), at(yb - HALF, -HALF), at(ya + HALF, -HALF)]


def digit_segments():
    return {
        "U": horizontal_segment(Y_TOP),
        "M": horizontal_segment(Y_MID),
        "D": horizontal_segment(Y_BOT),
        "UL": vertical_segment(left_x, Y_TOP, Y_MID),
        "UR": vertical_segment(right_x, Y_TOP, Y_MID),
        "DL": vertical_segment(left_x, Y_MID, Y_BOT),
        "DR": vertical_segment(right_x, Y_MID, Y_BOT),
    }


def draw_digits():
    segs = digit_segments()
    ones_left = {seg: box("imD1_" + seg)[0] for seg in segs}
    for place in ("1", "10", "100", "1000"):
        for seg, shape in segs.items():
            name = "imD%s_%s" % (place, seg)
            dx = box(name)[0] - ones_left[seg]
            lcd_sprite(name, poly([(x + dx, y) for x, y in shape]))


def draw_clock_marks():
    x, y, w, h = box("imColon")
    dots = [(x + 5.6, y + 8.0), (x + 3.8, y + 20.5)]
    lcd_sprite("imColon", "\n".join(
        poly([(cx - 2.2 + 0.3, cy - 2.2), (cx + 2.2 + 0.3, cy - 2.2), (cx + 2.2 - 0.3, cy + 2.2), (cx - 2.2 - 0.3, cy + 2.2)])
        for cx, cy in dots))
    for name, label in (("imAM", "AM"), ("imPM", "PM")):
        x, y, w, h = box(name)
        lcd_sprite(name, text(label, x + w / 2, y + 4.5, 11, SEG, 2.1, spacing=2.5, anchor="middle", slant=0.1))
    for name, label in (("imGameA", "GAME A"), ("imGameB", "GAME B")):
        x, y, w, h = box(name)
        lcd_sprite(name, text(label, x + w / 2, y + 2.5, 8, SEG, 1.6, spacing=1.6, anchor="middle"))


# --- Bell ------------------------------------------------------------------------------
def draw_bell():
    x, y, w, h = box("imBell")
    cx = x + w / 2
    body = ("M %s %s C %s %s %s %s %s %s L %s %s L %s %s L %s %s C %s %s %s %s %s %s Z" % tuple(map(fmt, (
        cx, y + 3,
        cx + 7, y + 3, cx + 7, y + 9, cx + 7, y + 13,
        cx + 8.5, y + 18,
        cx + 10.5, y + 20,
        cx - 10.5, y + 20,
        cx - 8.5, y + 18, cx - 7, y + 13, cx - 7, y + 3,
    ))))
    # the curve above is closed symmetrical: left side back to the top
    body = ("M %s %s C %s %s %s %s %s %s L %s %s L %s %s L %s %s L %s %s C %s %s %s %s %s %s Z" % tuple(map(fmt, (
        cx, y + 3.5,
        cx + 6.5, y + 3.5, cx + 7, y + 9, cx + 7, y + 13,
        cx + 9, y + 17.5, cx + 10.5, y + 19.5, cx - 10.5, y + 19.5, cx - 9, y + 17.5,
        cx - 7, y + 9, cx - 6.5, y + 3.5, cx, y + 3.5,
    ))))
    parts = [path(body), circle(cx, y + 2.4, 1.8), circle(cx, y + 22, 2.4),
             stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx - 4, y + 8, cx - 4.5, y + 12, cx - 5.5, y + 16))), LCD, 1.1)]
    lcd_sprite("imBell", "\n".join(parts))


# --- Chicks, shells, misses ----------------------------------------------------------------
def chick(cx, cy, size, facing, legs=0, flap=False):
    """A running chick centred on (cx, cy); facing +1 right, -1 left."""
    s = size
    f = facing
    out = []
    body = [(cx + f * sx * s, cy + sy * s) for sx, sy in
            [(-0.55, 0.05), (-0.35, -0.3), (0.05, -0.35), (0.35, -0.15), (0.45, 0.15), (0.2, 0.42), (-0.25, 0.42), (-0.55, 0.3)]]
    out.append(path(smooth_closed(body)))
    out.append(circle(cx + f * 0.3 * s, cy - 0.55 * s, 0.3 * s))                    # head
    out.append(poly([(cx + f * 0.55 * s, cy - 0.65 * s), (cx + f * 0.85 * s, cy - 0.55 * s), (cx + f * 0.55 * s, cy - 0.45 * s)]))  # beak
    out.append(circle(cx + f * 0.4 * s, cy - 0.62 * s, 0.07 * s + 0.4, fill=LCD))  # eye
    out.append(poly([(cx - f * 0.55 * s, cy - 0.05 * s), (cx - f * 0.85 * s, cy - 0.3 * s), (cx - f * 0.62 * s, cy + 0.2 * s)]))  # tail
    wing_y = -0.45 if flap else 0.05
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (
        cx - f * 0.25 * s, cy + 0.05 * s, cx + f * 0.05 * s, cy + wing_y * s, cx + f * 0.25 * s, cy + 0.1 * s))), LCD, max(0.9, 0.08 * s)))
    lw = max(1.3, 0.1 * s)
    if legs == 0:
        out.append(polyline([(cx - f * 0.1 * s, cy + 0.4 * s), (cx - f * 0.35 * s, cy + 0.9 * s), (cx - f * 0.5 * s, cy + 0.9 * s)], SEG, lw))
        out.append(polyline([(cx + f * 0.1 * s, cy + 0.4 * s), (cx + f * 0.35 * s, cy + 0.88 * s), (cx + f * 0.55 * s, cy + 0.88 * s)], SEG, lw))
    else:
        out.append(polyline([(cx - f * 0.05 * s, cy + 0.4 * s), (cx - f * 0.05 * s, cy + 0.9 * s), (cx + f * 0.15 * s, cy + 0.9 * s)], SEG, lw))
        out.append(polyline([(cx + f * 0.12 * s, cy + 0.4 * s), (cx + f * 0.4 * s, cy + 0.7 * s), (cx + f * 0.6 * s, cy + 0.62 * s)], SEG, lw))
    return "\n".join(out)


def half_shell(x0, x1, ybottom, depth, teeth, fill=SEG):
    """A broken shell half lying open side up."""
    w = x1 - x0
    pts_ = [(x0 + w * (0.5 - 0.5 * math.cos(math.pi * t / 10)), ybottom - depth * (1 - math.sin(math.pi * t / 10)) * 0 - depth * 0)
            for t in range(0)]
    top = []
    for i in range(teeth * 2 + 1):
        tx = x0 + w * i / (teeth * 2)
        top.append((tx, ybottom - depth - (2.2 if i % 2 == 0 else -0.4)))
    bottom = [(x0 + w * (0.5 + 0.5 * math.cos(math.pi * k / 12)), ybottom - depth * math.sin(math.pi * k / 12) * 0.15 - depth * 0.0
               - (depth * (1 - math.sin(math.pi * k / 12)) * 0.0)) for k in range(13)]
    bottom = [(x0 + w * (0.5 + 0.5 * math.cos(math.pi * k / 12)), ybottom - depth + depth * math.sin(math.pi * k / 12)) for k in range(13)]
    return poly(top + bottom[::1][::-1][::-1], fill)


def draw_floor():
    for side, name in ((-1, "imErrL"), (1, "imErrR")):
        x, y, w, h = box(name)
        yb = y + h - 1.5
        parts = [half_shell(x + 3, x + 21, yb, 7, 3), half_shell(x + w - 21, x + w - 3, yb, 7, 3)]
        # shell crumbs between them
        for k, dx in enumerate((24, 29, 34)):
            parts.append(poly([(x + dx, yb), (x + dx + 2.5, yb - 2.5 - k % 2), (x + dx + 4, yb)]))
        lcd_sprite(name, "\n".join(parts))
    for name in ("imErrLf", "imErrRf"):
        x, y, w, h = box(name)
        cx, cy = x + w / 2, y + h - 8
        rays = []
        n = 14
        for i in range(n):
            a = 2 * math.pi * i / n
            r = (10.5 if i % 2 == 0 else 6.2) * (1.0 if i % 3 else 0.85)
            rays.append((cx + r * math.cos(a) * 1.1, cy + r * math.sin(a) * 0.62))
        parts = [path(smooth_closed(rays)), ellipse(cx + 0.5, cy - 0.5, 3.6, 2.2, fill=LCD), ellipse(cx + 0.5, cy - 0.5, 1.8, 1.0)]
        # splash drops flying up
        parts += [ellipse(cx - 6, y + 7, 1.6, 2.2, rot=-20), ellipse(cx + 5, y + 4, 1.3, 1.8, rot=25), circle(cx + 1, y + 10, 1.2)]
        lcd_sprite(name, "\n".join(parts))
    # the chicks run away from the wolf: step 1 hatches next to him
    for side, names in ((-1, ["imChuckL1", "imChuckL2", "imChuckL3", "imChuckL4"]),
                        (1, ["imChuckR1", "imChuckR2", "imChuckR3", "imChuckR4"])):
        for step, name in enumerate(names):
            x, y, w, h = box(name)
            if step == 0:
                # just out of the shell, wings up
                s = min(w, h) * 0.55
                cx, cy = x + w / 2, y + h * 0.42
                body = chick(cx, cy, s, side, legs=0, flap=True)
                shell = half_shell(x + w * 0.12, x + w * 0.88, y + h - 1, 6, 3)
                lcd_sprite(name, body.split("\n", 1)[0] + "\n" + "\n".join(body.split("\n")[1:5]) + "\n" + shell +
                           "\n" + body.split("\n")[5])
            else:
                s = min(w * 0.85, h * 0.62)
                cx, cy = x + w / 2, y + h - 0.9 * s - 1.5
                lcd_sprite(name, chick(cx, cy, s, side, legs=step % 2, flap=step == 2))


def draw_miss_marks():
    for name in ("imErr1", "imErr2", "imErr3"):
        x, y, w, h = box(name)
        s = min(w, h) * 0.62
        lcd_sprite(name, chick(x + w / 2 + 1, y + h * 0.55, s, -1, legs=0))


# --- The wolf and his baskets -----------------------------------------------------------------
# The wolf is designed facing right in imWolf1's box (local coordinates);
# imWolf0 is the same wolf mirrored and scaled into its own box.
WOLF_SHOULDER = (51.0, 55.0)


def wolf_right_local():
    """Shapes of the wolf facing right, in the 69 x 117 box."""
    seg = []
    # tail: bushy, swept back and down
    seg.append(path(smooth_closed([(33, 64), (22, 62), (11, 67), (4, 78), (2, 90), (8, 86), (12, 89), (17, 82), (25, 77), (33, 76)])))
    # back leg and front leg with feet
    seg.append(path(smooth_closed([(33, 82), (42, 84), (41, 96), (37, 108), (40, 112), (38, 116), (24, 116), (25, 110), (31, 106), (33, 95)])))
    seg.append(path(smooth_closed([(44, 82), (55, 82), (55, 95), (55, 106), (64, 110), (66, 116), (48, 116), (49, 108), (47, 95)])))
    # torso
    seg.append(path(smooth_closed([(42, 33), (53, 34), (59, 44), (60, 58), (58, 72), (56, 84), (44, 88), (33, 86), (31, 72), (32, 56), (35, 42)])))
    # head with snout and ears
    seg.append(path(smooth_closed([(39, 22), (41, 12), (48, 9), (56, 12), (62, 18), (68, 22), (67, 28), (61, 31), (54, 33), (45, 34), (40, 30)])))
    seg.append(poly([(41, 14), (42, 0), (49, 10)]))
    seg.append(poly([(48, 10), (55, 1), (56, 13)]))
    seg.append(poly([(45, 33), (42, 40), (48, 38), (50, 42), (53, 36)]))   # cheek fur
    details = [
        ellipse(54, 18.5, 2.6, 2.9, fill=LCD),                                           # eye
        circle(55.2, 19.2, 1.3),                                                            # pupil
        polyline([(58, 28.5), (63, 27.8), (66, 26.5)], LCD, 1.1),                          # mouth
        polyline([(44, 4.5), (45.5, 10)], LCD, 0.9),                                        # inner ear
        polyline([(38, 80), (56, 80)], LCD, 1.4),                                            # belt
        polyline([(44.5, 88), (45, 110)], LCD, 1.3),                                        # between the legs
        polyline([(47, 46), (50, 50), (47, 54), (50, 58), (47, 62)], LCD, 1.0),            # chest fur
        polyline([(10, 80), (17, 74), (24, 71)], LCD, 0.9),                                 # tail fur
    ]
    return seg + details


def wolf_svg(name, facing_right):
    x, y, w, h = box(name)
    if facing_right:
        t = "translate(%d %d)" % (x, y)
    else:
        sx, sy = w / 69.0, h / 117.0
        t = "translate(%s %d) scale(%s %s)" % (fmt(x + w), y, fmt(-sx), fmt(sy))
    lcd_sprite(name, '<g transform="%s">\n%s\n</g>' % (t, "\n".join(wolf_right_local())))


def shoulder(facing_right):
    if facing_right:
        x, y, _, _ = box("imWolf1")
        return x + WOLF_SHOULDER[0], y + WOLF_SHOULDER[1]
    x, y, w, h = box("imWolf0")
    return x + w - WOLF_SHOULDER[0] * w / 69.0, y + WOLF_SHOULDER[1] * h / 117.0


def basket(cx, top, width, depth, tilt):
    """A woven basket with its rim centred at (cx, top)."""
    hw = width / 2
    shape = [(cx - hw, top), (cx + hw, top), (cx + hw * 0.72, top + depth), (cx - hw * 0.72, top + depth)]
    shape = rotate(shape, tilt, cx, top + depth / 2)
    out = [poly(shape)]
    # rim and weave, clear glass lines
    rim = rotate([(cx - hw + 1, top + 2.6), (cx + hw - 1, top + 2.6)], tilt, cx, top + depth / 2)
    out.append(polyline(rim, LCD, 1.0))
    for k in (-0.45, -0.15, 0.15, 0.45):
        line = rotate([(cx + k * width * 0.95, top + 4.5), (cx + k * width * 0.7, top + depth - 1.5)], tilt, cx, top + depth / 2)
        out.append(polyline(line, LCD, 0.9))
    mid = rotate([(cx - hw * 0.86, top + depth * 0.62), (cx + hw * 0.86, top + depth * 0.62)], tilt, cx, top + depth / 2)
    out.append(polyline(mid, LCD, 0.9))
    return out, rotate([(cx, top - 0.5)], tilt, cx, top + depth / 2)[0]


def arm(start, hand, bend):
    """An arm from the shoulder to the basket handle, bent outwards by `bend`."""
    (sx, sy), (hx, hy) = start, hand
    mx, my = (sx + hx) / 2, (sy + hy) / 2
    nx, ny = -(hy - sy), hx - sx
    ln = math.hypot(nx, ny) or 1
    ex, ey = mx + nx / ln * bend, my + ny / ln * bend
    return [stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (sx, sy, ex, ey, hx, hy))), SEG, 6.5),
            circle(hx, hy, 3.6)]


def draw_wolf_and_baskets():
    wolf_svg("imWolf1", True)
    wolf_svg("imWolf0", False)
    # basket rim under each chute mouth; the arm reaches it from the shoulder
    specs = {
        "imBask0": ("UL", False, -1),
        "imBask2": ("DL", False, 1),
        "imBask1": ("UR", True, 1),
        "imBask3": ("DR", True, -1),
    }
    for name, (chute, right, bend) in specs.items():
        x, y, w, h = box(name)
        mouth = chute_ends(chute)[1]
        width, depth = 30, 19
        cx = mouth[0] + (-9 if right else 9)
        cx = min(max(cx, x + width / 2 + 1.5), x + w - width / 2 - 1.5)
        top = mouth[1] + 4
        top = min(top, y + h - depth - 2)
        tilt = -8 if right else 8
        parts, handle = basket(cx, top, width, depth, tilt)
        sx, sy = shoulder(right)
        start = (sx + (4 if right else -4), sy - 2 if chute in ("UL", "UR") else sy + 2)
        hand = ((cx - width * 0.34) if right else (cx + width * 0.34), top + 3)
        lcd_sprite(name, "\n".join(arm(start, hand, 5 * bend) + parts))


# --- The hare -----------------------------------------------------------------------------------
def draw_hare():
    x, y, w, h = box("imHare")
    X = lambda px: x + px
    Y = lambda py: y + py
    seg = [
        # ears
        ellipse(X(22), Y(13), 3.8, 12.5, rot=-14),
        ellipse(X(31), Y(12), 3.8, 12, rot=12),
        # head
        path(smooth_closed([(X(17), Y(28)), (X(24), Y(22)), (X(34), Y(23)), (X(40), Y(30)), (X(39), Y(37)), (X(30), Y(40)), (X(20), Y(38))])),
        # body sitting, leaning towards the chutes
        path(smooth_closed([(X(18), Y(38)), (X(30), Y(39)), (X(37), Y(47)), (X(40), Y(60)), (X(36), Y(70)), (X(24), Y(73)), (X(13), Y(70)), (X(11), Y(58)), (X(13), Y(46))])),
        # tail and hind foot
        circle(X(9), Y(63), 4.2),
        path(smooth_closed([(X(20), Y(68)), (X(38), Y(69)), (X(44), Y(72)), (X(38), Y(74)), (X(20), Y(74))])),
        # front paw raised, waving
        path(smooth_closed([(X(33), Y(46)), (X(42), Y(41)), (X(49), Y(35)), (X(52), Y(37)), (X(45), Y(46)), (X(36), Y(53))])),
    ]
    details = [
        ellipse(X(24.5), Y(13), 1.4, 8, fill=LCD, rot=-14),
        ellipse(X(33), Y(29), 2.1, 2.4, fill=LCD),
        circle(X(33.8), Y(29.4), 1.0),
        polyline([(X(36), Y(35)), (X(38.5), Y(34.5))], LCD, 0.9),
        polyline([(X(38), Y(32)), (X(44), Y(30.5))], SEG, 0.7),
        polyline([(X(38), Y(33.5)), (X(44), Y(34))], SEG, 0.7),
        polyline([(X(26), Y(52)), (X(31), Y(58)), (X(30), Y(66))], LCD, 1.0),
    ]
    lcd_sprite("imHare", "\n".join(seg + details))


# --- Buttons -----------------------------------------------------------------------------------
BUTTON_RUBBER = "#2C2A28"
BUTTON_LIGHT = "#55504A"


def draw_game_buttons():
    for name in ("imButtA", "imButtB", "imButtT"):
        x, y, w, h = box(name)
        under = case_colour_at(y + h / 2)
        body = [
            '<rect x="%s" y="%s" width="%s" height="%s" rx="4.5" fill="#1B1A19"/>' % (x + 0.5, y + 0.5, w - 1, h - 1),
            '<rect x="%s" y="%s" width="%s" height="%s" rx="3.5" fill="%s"/>' % (x + 1.5, y + 1.2, w - 3, h - 4, BUTTON_RUBBER),
            '<rect x="%s" y="%s" width="%s" height="2" rx="1" fill="%s"/>' % (x + 4, y + 2.5, w - 8, BUTTON_LIGHT),
        ]
        write_svg(name, "\n".join(body), under)


def draw_round_buttons():
    for name, symbol in (("imButtS", "speaker"), ("imButtX", "cross")):
        x, y, w, h = box(name)
        cx, cy = x + w / 2, y + h / 2
        r = min(w, h) / 2 - 0.5
        grad = ('<linearGradient id="case" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
                '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
                % (CASE_Y0, CASE_Y1, hexrgb(CASE_TOP), hexrgb(CASE_BOTTOM)))
        body = ['<rect x="%d" y="%d" width="%d" height="%d" fill="url(#case)"/>' % (x, y, w, h),
                circle(cx, cy + 0.4, r, fill="#1B1A19"),
                circle(cx, cy - 0.2, r - 1.3, fill=ACCENT),
                ellipse(cx - 1.5, cy - r * 0.45, r * 0.45, r * 0.22, fill="#E9826A")]
        if symbol == "speaker":
            body.append(poly([(cx - 4, cy - 1.6), (cx - 2, cy - 1.6), (cx + 1, cy - 4), (cx + 1, cy + 4), (cx - 2, cy + 1.6), (cx - 4, cy + 1.6)], fill=CREAM))
            body.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx + 2.6, cy - 2.4, cx + 4.3, cy, cx + 2.6, cy + 2.4))), CREAM, 1.0))
        else:
            body.append(polyline([(cx - 3, cy - 3), (cx + 3, cy + 3)], CREAM, 1.8))
            body.append(polyline([(cx + 3, cy - 3), (cx - 3, cy + 3)], CREAM, 1.8))
        write_svg(name, "\n".join(body), case_colour_at(cy), defs=grad)


# --- The background: the handheld -------------------------------------------------------------
LCD_RECT = (238, 138, 647, 407)   # the glass: left, top, right, bottom


def hen(x, y, facing):
    """A hen printed on the glass, sitting on her nest at the top of a chute."""
    f = facing
    body = [(x, y), (x + f * 6, y - 6), (x + f * 13, y - 7), (x + f * 17, y - 12), (x + f * 20, y - 11),
            (x + f * 20, y - 6), (x + f * 22, y - 4), (x + f * 19, y - 3), (x + f * 16, y + 1), (x + f * 6, y + 2)]
    out = [path(smooth_closed(body), fill=PRINT_LIGHT, extra=' stroke="%s" stroke-width="1.3"' % PRINT)]
    out.append(poly([(x + f * 17, y - 12.5), (x + f * 18, y - 15), (x + f * 19.5, y - 13), (x + f * 21, y - 14.5), (x + f * 20.5, y - 11)], fill=PRINT))  # comb
    out.append(poly([(x + f * 21.5, y - 9), (x + f * 24, y - 8), (x + f * 21.5, y - 7)], fill=PRINT))  # beak
    out.append(circle(x + f * 18.7, y - 9.2, 0.9, fill=PRINT))
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (x + f * 6, y - 2, x + f * 10, y - 5, x + f * 14, y - 2))), PRINT, 1.0))
    # the nest under her
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (x - f * 2, y + 1, x + f * 10, y + 7, x + f * 22, y + 1))), PRINT, 1.4))
    return out


def draw_chute(chute):
    (x0, y0), (x1, y1) = chute_ends(chute)
    a, b = chute_line(chute)
    right = chute in ("UR", "DR")
    th = 3.0
    out = [poly([(x0, y0 + 0.6), (x1, y1 + 0.6), (x1, y1 + th), (x0, y0 + th)], fill=PRINT)]
    # struts under the chute
    lo, hi = min(x0, x1), max(x0, x1)
    n = 6
    for i in range(1, n):
        xs = lo + (hi - lo) * i / n
        ys = a * xs + b + th
        out.append(polyline([(xs, ys), (xs + (-3 if right else 3), ys + 5)], PRINT, 1.0))
    # lip at the mouth
    out.append(polyline([(x1, y1 + 0.5), (x1, y1 + 4)], PRINT, 1.6))
    # the roost at the top end
    hen_x = x0 - (2 if right else -2)
    out += hen(hen_x + (3 if right else -3), y0 - 2, -1 if right else 1) if False else []
    return out


def tuft(x, y, s=1.0):
    return polyline([(x - 4 * s, y), (x - 2 * s, y - 5 * s), (x - 0.5 * s, y - 1 * s), (x + 1 * s, y - 6 * s),
                     (x + 2.5 * s, y - 1 * s), (x + 4.5 * s, y - 4 * s), (x + 5 * s, y)], PRINT, 1.0)


def draw_scene():
    out = []
    for chute in CHUTES:
        out += draw_chute(chute)
    # hens on their nests at the top ends of the chutes
    for chute in CHUTES:
        (x0, y0), _ = chute_ends(chute)
        right = chute in ("UR", "DR")
        if right:
            out += hen(min(x0 + 20, LCD_RECT[2] - 3), y0 - 3, -1)
        else:
            out += hen(max(x0 - 20, LCD_RECT[0] + 3), y0 - 3, 1)
    # floor
    out.append(polyline([(LCD_RECT[0] + 6, 371), (LCD_RECT[2] - 6, 371)], PRINT, 1.4))
    for tx, s in ((252, 0.9), (366, 0.7), (480, 0.8), (565, 0.7), (636, 0.9)):
        out.append(tuft(tx, 370.5, s))
    return out


def draw_background():
    W, H = 875, 532
    x0, y0, x1, y1 = 8, CASE_Y0, 867, CASE_Y1
    grad = ('<linearGradient id="case" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
            % (y0, y1, hexrgb(CASE_TOP), hexrgb(CASE_BOTTOM)))
    out = [
        '<rect x="%d" y="%d" width="%d" height="%d" rx="44" fill="%s"/>' % (x0, y0, x1 - x0, y1 - y0, CASE_RIM),
        '<rect x="%d" y="%d" width="%d" height="%d" rx="41" fill="url(#case)"/>' % (x0 + 3, y0 + 3, x1 - x0 - 6, y1 - y0 - 6),
        '<rect x="%d" y="%d" width="%d" height="%d" rx="34" fill="none" stroke="#FBF4E2" stroke-width="1.2"/>' % (x0 + 11, y0 + 11, x1 - x0 - 22, y1 - y0 - 22),
        # tomato-red trim along the bottom
        '<rect x="40" y="478" width="795" height="7" rx="3" fill="%s"/>' % ACCENT,
        '<rect x="40" y="490" width="795" height="3" rx="1.5" fill="%s"/>' % ACCENT,
        # the faceplate around the glass
        '<rect x="204" y="102" width="478" height="344" rx="16" fill="%s"/>' % FACE,
        '<rect x="211" y="109" width="464" height="330" rx="11" fill="none" stroke="%s" stroke-width="1.5"/>' % ACCENT,
        text("KESTROW", 442.5, 116, 11, CREAM, 1.8, spacing=4, anchor="middle"),
        text("EGG CATCHER", 442.5, 418, 7, "#A89A80", 1.2, spacing=3, anchor="middle"),
        # the glass
        '<rect x="%d" y="%d" width="%d" height="%d" fill="#14120F"/>' % (LCD_RECT[0] - 3, LCD_RECT[1] - 3, LCD_RECT[2] - LCD_RECT[0] + 6, LCD_RECT[3] - LCD_RECT[1] + 6),
        '<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (LCD_RECT[0], LCD_RECT[1], LCD_RECT[2] - LCD_RECT[0], LCD_RECT[3] - LCD_RECT[1], LCD),
        # brand
        text("PELLOX", 105, 430, 20, INK, 3.4, spacing=5, anchor="middle"),
        text("POCKET LCD GAME", 105, 457, 6, INK, 1.1, spacing=2.2, anchor="middle"),
    ]
    # speaker grille
    for r, n in ((0, 1), (7, 6), (14, 12), (21, 18), (28, 24)):
        for i in range(n):
            a = 2 * math.pi * i / n + (0.3 if r % 14 else 0)
            out.append(circle(105 + r * math.cos(a), 165 + r * math.sin(a), 2.2, fill="#7D6A4A"))
    # an egg emblem
    out.append(ellipse(105, 300, 26, 34, fill=ACCENT))
    out.append(ellipse(97, 288, 7, 11, fill="#E9826A", rot=20))
    out.append(text("K", 105, 290, 20, CREAM, 3.2, anchor="middle"))
    # button wells and labels
    for name, label in (("imButtA", "GAME A"), ("imButtB", "GAME B"), ("imButtT", "TIME")):
        bx, by, bw, bh = box(name)
        out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="6" fill="#B7A27A"/>' % (bx - 2.5, by - 2, bw + 5, bh + 5))
        out.append(text(label, bx - 8, by + bh / 2 - 3.5, 7, INK, 1.3, spacing=1.8, anchor="end"))
    for name in ("imButtS", "imButtX"):
        bx, by, bw, bh = box(name)
        out.append(circle(bx + bw / 2, by + bh / 2 + 0.3, min(bw, bh) / 2 + 2.5, fill="#B7A27A"))
    sx, sy, sw, sh = box("imButtS")
    cx = sx + sw / 2
    out.append(poly([(cx - 5, sy - 9), (cx - 2.5, sy - 9), (cx + 0.5, sy - 12), (cx + 0.5, sy - 3), (cx - 2.5, sy - 6), (cx - 5, sy - 6)], fill=INK))
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx + 2.5, sy - 10, cx + 4.5, sy - 7.5, cx + 2.5, sy - 5))), INK, 1.0))
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx + 4.5, sy - 12, cx + 7.5, sy - 7.5, cx + 4.5, sy - 3))), INK, 1.0))
    xx, xy, xw, xh = box("imButtX")
    out.append(text("OFF", xx + xw / 2, xy - 11, 6, INK, 1.2, spacing=1.4, anchor="middle"))
    out += draw_scene()
    write_svg("imBckgrnd", "\n".join(out), CASE_RIM, defs=grad)


def main():
    draw_background()
    draw_eggs()
    draw_digits()
    draw_clock_marks()
    draw_bell()
    draw_floor()
    draw_miss_marks()
    draw_wolf_and_baskets()
    draw_hare()
    draw_game_buttons()
    draw_round_buttons()
    missing = sorted(set(LAYOUT) - {f[:-4] for f in os.listdir(HERE) if f.endswith(".svg")})
    if missing:
        raise SystemExit("no picture drawn for: " + ", ".join(missing))


if __name__ == "__main__":
    main()
