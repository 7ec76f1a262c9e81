"""The drawing library of the game's pictures: the sprite layout, SVG shapes,
a stroke font, and the figures, scenery and case of the built-in handheld.

Nothing here writes a file. Each figure routine takes a `Palette` and returns
the SVG bodies of its sprites, so a picture set in other colours (the Night
Shift skin, the start screen) draws the same figures with its own palette.
`generate.py` beside this file is the writer of the built-in pictures.

Coordinates: every sprite is drawn in the LCD's own pixel coordinates
(`scene` group translated by minus the sprite's top-left corner), so shapes
that must meet across sprites (eggs on chutes, arms at the wolf's shoulder,
digit segments) are designed in one coordinate system.
"""

import math
import os
from dataclasses import dataclass
from typing import NamedTuple

HERE = os.path.dirname(os.path.abspath(__file__))
LAYOUT_TABLE = os.path.join(HERE, "..", "..", "lcd", "core", "sprite_layout.txt")

# --- Palette ---------------------------------------------------------------
LCD = "#C5CBAF"          # the liquid crystal when nothing is lit
SEG = "#1E2420"          # a lit segment
PRINT = "#7C7963"        # scenery printed on the glass (never switched)
PRINT_LIGHT = "#AFB296"  # printed fills, one shade darker than the LCD
CASE_TOP = (0xF2, 0xE6, 0xC8)
CASE_BOTTOM = (0xD8, 0xC4, 0x9A)
CASE_RIM = "#8F7A55"
FACE = "#33302C"         # dark faceplate around the LCD
ACCENT = "#D2502E"       # tomato-red trim
INK = "#5B4631"          # printing on the case
CREAM = "#F3E7C9"
WELL = "#B7A27A"       # recess round a button

CASE_Y0, CASE_Y1 = 8, 524


def hexrgb(c):
    return "#%02X%02X%02X" % c


def case_colour_at(y, top=CASE_TOP, bottom=CASE_BOTTOM):
    t = min(1.0, max(0.0, (y - CASE_Y0) / (CASE_Y1 - CASE_Y0)))
    return hexrgb(tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))


def case_gradient(top=CASE_TOP, bottom=CASE_BOTTOM):
    """The case's colour from its top edge to its bottom edge, as the gradient "case"."""
    return ('<linearGradient id="case" gradientUnits="userSpaceOnUse" x1="0" y1="%d" x2="0" y2="%d">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
            % (CASE_Y0, CASE_Y1, hexrgb(top), hexrgb(bottom)))


# --- The sprite layout (lcd/core/sprite_layout.txt, the game's own table) -----
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


SPRITES = read_layout()
LAYOUT = {name: entry[:4] for name, entry in SPRITES.items()}   # name -> box


def box(name):
    return LAYOUT[name]


def is_transparent(name):
    """False for the sprites with no see-through pixel (the exit and sound buttons)."""
    return SPRITES[name][4]


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


@dataclass(frozen=True)
class Palette:
    """The colours the figures and the printed scenery are drawn in. Its shape
    routines fill with the lit colour unless told otherwise."""
    lit: str = SEG                  # a lit segment
    glass: str = LCD                # the clear lines inside a figure: the glass shows through
    print: str = PRINT              # scenery printed on the glass
    print_fill: str = PRINT_LIGHT   # printed fills

    def poly(self, points, fill=None, extra=""):
        return poly(points, self.lit if fill is None else fill, extra)

    def path(self, d, fill=None, extra=""):
        return path(d, self.lit if fill is None else fill, extra)

    def ellipse(self, cx, cy, rx, ry, fill=None, rot=0.0, extra=""):
        return ellipse(cx, cy, rx, ry, self.lit if fill is None else fill, rot, extra)

    def circle(self, cx, cy, r, fill=None, extra=""):
        return circle(cx, cy, r, self.lit if fill is None else fill, extra)


BUILTIN = Palette()


def svg_document(name, body, under, defs=""):
    """The SVG file of a sprite: its box's size, the body drawn in window coordinates."""
    x, y, w, h = box(name)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="%d" height="%d" viewBox="0 0 %d %d" data-under="%s">\n'
            '<title>%s</title>\n%s'
            '<g transform="translate(%d %d)">\n%s\n</g>\n</svg>\n'
            % (w, h, w, h, under, name, ("<defs>%s</defs>\n" % defs) if defs else "", -x, -y, body))


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


# --- Eggs and chutes -----------------------------------------------------------
CHUTES = {"UL": [f"imEggUL{i}" for i in range(1, 6)], "DL": [f"imEggDL{i}" for i in range(1, 6)],
          "UR": [f"imEggUR{i}" for i in range(1, 6)], "DR": [f"imEggDR{i}" for i in range(1, 6)]}


def egg_outline(n=40):
    # An egg: the +x end is the blunt one.
    return [(6.0 * math.cos(t), 4.6 * math.sin(t) * (1 + 0.12 * math.cos(t)))
            for t in (2 * math.pi * i / n for i in range(n))]


def fitted_egg(name, spin, surface):
    """The egg turned and scaled to fit its box, then rolled down onto the chute.

    spin picks where the blunt end points, so the eggs seem to roll."""
    x, y, w, h = box(name)
    best = None
    for deg in range(0, 180):
        pts_ = rotate(egg_outline(), deg + spin)
        x0, y0, x1, y1 = bbox(pts_)
        s = min((w - 1.4) / (x1 - x0), (h - 1.4) / (y1 - y0))
        if best is None or s > best[0] + 1e-6:
            best = (s, deg)
    s, deg = best
    s *= EGG_FILL
    pts_ = [(px * s, py * s) for px, py in rotate(egg_outline(), deg + spin)]
    x0, y0, x1, y1 = bbox(pts_)
    ox, oy = x + w / 2 - (x0 + x1) / 2, y + h / 2 - (y0 + y1) / 2
    pts_ = [(px + ox, py + oy) for px, py in pts_]
    # Let it sink onto the chute surface, as far as its box allows.
    gap = min(surface(px) - py for px, py in pts_)
    room_down = (y + h - 0.7) - max(py for _, py in pts_)
    room_up = min(py for _, py in pts_) - (y + 0.7)
    dy = max(-room_up, min(gap, room_down))
    return [(px, py + dy) for px, py in pts_]


EGG_FILL = 0.9


def chute_line(chute):
    """The chute's top surface, y = a x + b: fitted to the bottoms of the egg boxes."""
    pts_ = [(box(n)[0] + box(n)[2] / 2, box(n)[1] + box(n)[3] - 0.6) for n in CHUTES[chute]]
    n = len(pts_)
    mx = sum(p[0] for p in pts_) / n
    my = sum(p[1] for p in pts_) / n
    a = sum((p[0] - mx) * (p[1] - my) for p in pts_) / sum((p[0] - mx) ** 2 for p in pts_)
    return a, my - a * mx


def chute_ends(chute):
    names = CHUTES[chute]
    top, mouth = box(names[0]), box(names[4])
    right_side = chute in ("UR", "DR")
    if right_side:
        x_top, x_mouth = top[0] + top[2] + 6, mouth[0] - 1
    else:
        x_top, x_mouth = top[0] - 6, mouth[0] + mouth[2] + 1
    a, b = chute_line(chute)
    return (x_top, a * x_top + b), (x_mouth, a * x_mouth + b)


def solve3(m, v):
    """Solves the 3 x 3 system m x = v (Cramer's rule)."""
    def det(q):
        return (q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) - q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0])
                + q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]))
    d = det(m)
    return [det([[v[r] if c == k else m[r][c] for c in range(3)] for r in range(3)]) / d for k in range(3)]


_SURFACES = {}


def chute_curve(chute):
    """The chute's surface as a gentle curve y = c0 + c1 x + c2 x^2: fitted to
    where the eggs, first set on the straight line, touch it."""
    if chute not in _SURFACES:
        a, b = chute_line(chute)
        line = lambda x: a * x + b
        i = list(CHUTES).index(chute)
        contacts = []
        for step, name in enumerate(CHUTES[chute]):
            egg = fitted_egg(name, step * 70 + i * 25, line)
            px, py = max(egg, key=lambda p: p[1] - line(p[0]))
            contacts.append((px, py + 0.3))
        m = [[sum(px ** (r + c) for px, _ in contacts) for c in range(3)] for r in range(3)]
        v = [sum(py * px ** r for px, py in contacts) for r in range(3)]
        c0, c1, c2 = solve3(m, v)
        _SURFACES[chute] = lambda x: c0 + c1 * x + c2 * x * x
    return _SURFACES[chute]


def egg_shapes(chute):
    curve = chute_curve(chute)
    i = list(CHUTES).index(chute)
    # the eggs roll: each step shows another turn
    return [fitted_egg(name, step * 70 + i * 25, curve) for step, name in enumerate(CHUTES[chute])]


def chute_surface(chute):
    """The chute's surface from the top end to the mouth, as a polyline: the
    curve, bent a little where an egg's box kept it from resting on it."""
    fit = chute_curve(chute)
    contacts = []
    for egg in egg_shapes(chute):
        px, py = max(egg, key=lambda p: p[1] - fit(p[0]))
        contacts.append((px, fit(px) - py))
    contacts.sort()

    def curve(x):
        if x <= contacts[0][0]:
            return fit(x) - contacts[0][1]
        for (xa, ga), (xb, gb) in zip(contacts, contacts[1:]):
            if x <= xb:
                return fit(x) - (ga + (gb - ga) * (x - xa) / (xb - xa))
        return fit(x) - contacts[-1][1]

    (xt, _), (xm, _) = chute_ends(chute)
    n = max(2, round(abs(xm - xt) / 4))
    return [(xt + (xm - xt) * k / n, curve(xt + (xm - xt) * k / n)) for k in range(n + 1)]


def egg_figures(p=BUILTIN):
    for chute in CHUTES:
        for name, egg in zip(CHUTES[chute], egg_shapes(chute)):
            yield (name, p.poly(egg))


# --- Digits ----------------------------------------------------------------------
# One italic seven-segment digit designed on the ones place; the other places
# are the same picture (their boxes are the ones boxes shifted left).
SLANT = 0.125
Y_TOP, Y_MID, Y_BOT = 157.0, 176.0, 193.0
X_LEFT_AT_TOP, X_RIGHT_AT_TOP = 548.3, 561.8
HALF = 2.0   # half the thickness of a segment
GAP = 0.9    # clear glass between two segments


def left_x(y):
    return X_LEFT_AT_TOP - SLANT * (y - Y_TOP)


def right_x(y):
    return X_RIGHT_AT_TOP - SLANT * (y - Y_TOP)


def horizontal_segment(y):
    xa, xb = left_x(y) + GAP, right_x(y) - GAP
    return [(xa, y), (xa + HALF, y - HALF), (xb - HALF, y - HALF), (xb, y), (xb - HALF, y + HALF), (xa + HALF, y + HALF)]


def vertical_segment(line, ya, yb):
    ya += GAP
    yb -= GAP
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


def digit_figures(p=BUILTIN):
    segs = digit_segments()
    ones_left = {seg: box("imD1_" + seg)[0] for seg in segs}
    for place in ("1", "10", "100", "1000"):
        for seg, shape in segs.items():
            name = "imD%s_%s" % (place, seg)
            dx = box(name)[0] - ones_left[seg]
            yield (name, p.poly([(x + dx, y) for x, y in shape]))


def clock_mark_figures(p=BUILTIN):
    x, y, w, h = box("imColon")
    dots = [(x + 5.6, y + 8.0), (x + 3.8, y + 20.5)]
    yield ("imColon", "\n".join(
        p.poly([(cx - 2.2 + 0.3, cy - 2.2), (cx + 2.2 + 0.3, cy - 2.2), (cx + 2.2 - 0.3, cy + 2.2), (cx - 2.2 - 0.3, cy + 2.2)])
        for cx, cy in dots))
    for name, label in (("imAM", "AM"), ("imPM", "PM")):
        x, y, w, h = box(name)
        yield (name, text(label, x + w / 2, y + 4.5, 11, p.lit, 2.1, spacing=2.5, anchor="middle", slant=0.1))
    for name, label in (("imGameA", "GAME A"), ("imGameB", "GAME B")):
        x, y, w, h = box(name)
        yield (name, text(label, x + w / 2, y + 2.5, 8, p.lit, 1.6, spacing=1.6, anchor="middle"))


# --- Bell ------------------------------------------------------------------------------
def bell_figures(p=BUILTIN):
    x, y, w, h = box("imBell")
    cx = x + w / 2
    # the bell's outline: flared rim, symmetrical about cx
    body = ("M %s %s C %s %s %s %s %s %s L %s %s L %s %s L %s %s L %s %s C %s %s %s %s %s %s Z" % tuple(map(fmt, (
        cx, y + 3.5,
        cx + 6.5, y + 3.5, cx + 7, y + 9, cx + 7, y + 13,
        cx + 9, y + 17.5, cx + 10.5, y + 19.5, cx - 10.5, y + 19.5, cx - 9, y + 17.5,
        cx - 7, y + 9, cx - 6.5, y + 3.5, cx, y + 3.5,
    ))))
    parts = [p.path(body), p.circle(cx, y + 2.4, 1.8), p.circle(cx, y + 22, 2.4),
             stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx - 4, y + 8, cx - 4.5, y + 12, cx - 5.5, y + 16))), p.glass, 1.1)]
    yield ("imBell", "\n".join(parts))


# --- Chicks, shells, misses ----------------------------------------------------------------
def chick(cx, bottom, height, facing, pose=0, wings_up=False, legs=True, p=BUILTIN):
    """A chick standing on `bottom`, centred on cx; facing +1 right, -1 left.

    pose 0 and 1 are the two strides of its run."""
    u = height
    f = facing
    X = lambda px: cx + f * px * u
    Y = lambda py: bottom - (1.0 - py) * u
    out = [
        p.ellipse(X(-0.04), Y(0.56), 0.36 * u, 0.26 * u),                         # body
        p.circle(X(0.2), Y(0.27), 0.2 * u),                                      # head
        p.poly([(X(0.36), Y(0.2)), (X(0.55), Y(0.27)), (X(0.36), Y(0.33))]),     # beak
        p.poly([(X(-0.34), Y(0.46)), (X(-0.5), Y(0.33)), (X(-0.42), Y(0.58))]),  # tail
        p.poly([(X(0.1), Y(0.09)), (X(0.14), Y(0.0)), (X(0.2), Y(0.08)), (X(0.26), Y(0.02)), (X(0.27), Y(0.11))]),  # tuft
        p.circle(X(0.25), Y(0.23), max(0.75, 0.055 * u), fill=p.glass),              # eye
    ]
    if wings_up:
        out.append(p.poly([(X(-0.12), Y(0.5)), (X(-0.42), Y(0.12)), (X(-0.05), Y(0.36))]))
        out.append(p.poly([(X(0.05), Y(0.48)), (X(0.0), Y(0.1)), (X(0.16), Y(0.44))]))
    else:
        out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (
            X(0.1), Y(0.47), X(0.02), Y(0.7), X(-0.3), Y(0.6)))), p.glass, max(0.8, 0.05 * u)))
    if legs:
        lw = max(1.2, 0.075 * u)
        if pose == 0:   # legs apart
            out.append(polyline([(X(-0.06), Y(0.8)), (X(-0.26), Y(0.98)), (X(-0.38), Y(0.98))], p.lit, lw))
            out.append(polyline([(X(0.06), Y(0.8)), (X(0.24), Y(0.98)), (X(0.38), Y(0.98))], p.lit, lw))
        else:           # one leg under the body, the other kicked back
            out.append(polyline([(X(0.02), Y(0.8)), (X(0.04), Y(0.98)), (X(0.2), Y(0.98))], p.lit, lw))
            out.append(polyline([(X(-0.1), Y(0.8)), (X(-0.3), Y(0.88)), (X(-0.42), Y(0.82))], p.lit, lw))
    return "\n".join(out)


def half_shell(x0, x1, bottom, depth, teeth, p=BUILTIN):
    """A broken eggshell half lying open side up: a bowl with a jagged rim."""
    w = x1 - x0
    rim = [(x0 + w * i / (teeth * 2), bottom - depth - (1.8 if i % 2 == 0 else -0.6)) for i in range(teeth * 2 + 1)]
    bowl = [(x0 + w * (0.5 + 0.5 * math.cos(math.pi * k / 12)), bottom - depth + depth * math.sin(math.pi * k / 12))
            for k in range(1, 12)]
    return p.poly(rim + bowl)


def floor_figures(p=BUILTIN):
    for name in ("imErrL", "imErrR"):
        x, y, w, h = box(name)
        yb = y + h - 1.5
        parts = [half_shell(x + 3, x + 20, yb, 7, 3, p), half_shell(x + w - 20, x + w - 3, yb, 7, 3, p)]
        for k, dx in enumerate((23, 27.5, 32)):   # crumbs of shell between them
            parts.append(p.poly([(x + dx, yb), (x + dx + 2, yb - 2.5 - k % 2), (x + dx + 3.5, yb)]))
        yield (name, "\n".join(parts))
    for name in ("imErrLf", "imErrRf"):
        x, y, w, h = box(name)
        cx, cy = x + w / 2, y + h - 8
        rim = []
        n = 14
        for i in range(n):
            a = 2 * math.pi * i / n
            r = (10.5 if i % 2 == 0 else 6.2) * (1.0 if i % 3 else 0.85)
            rim.append((cx + r * math.cos(a) * 1.1, cy + r * math.sin(a) * 0.62))
        parts = [p.path(smooth_closed(rim)), p.ellipse(cx + 0.5, cy - 0.5, 3.6, 2.2, fill=p.glass), p.ellipse(cx + 0.5, cy - 0.5, 1.8, 1.0)]
        # splashes flying up
        parts += [p.ellipse(cx - 6, y + 7, 1.6, 2.2, rot=-20), p.ellipse(cx + 5, y + 4, 1.3, 1.8, rot=25), p.circle(cx + 1, y + 10, 1.2)]
        yield (name, "\n".join(parts))
    # The chicks run away from the wolf: step 1 has just hatched next to him.
    for side, names in ((-1, ["imChuckL1", "imChuckL2", "imChuckL3", "imChuckL4"]),
                        (1, ["imChuckR1", "imChuckR2", "imChuckR3", "imChuckR4"])):
        for step, name in enumerate(names):
            x, y, w, h = box(name)
            if step == 0:
                # just hatched from the fallen egg, leaping away, wings up
                yield (name, chick(x + w / 2, y + h - 1.5, h * 0.82, side, pose=1, wings_up=True, p=p))
            else:
                height = min(h - 1.5, w * 1.15)
                yield (name, chick(x + w / 2, y + h - 1.2, height, side, pose=step % 2, p=p))


def miss_mark_figures(p=BUILTIN):
    # A chick that got away, looking back at the wolf.
    for name in ("imErr1", "imErr2", "imErr3"):
        x, y, w, h = box(name)
        yield (name, chick(x + w / 2 + 1, y + h - 1.5, h - 3, -1, pose=0, p=p))


# --- The wolf and his baskets -----------------------------------------------------------------
# The wolf is designed facing right in imWolf1's box (local coordinates);
# imWolf0 is the same wolf mirrored and scaled into its own box.
WOLF_SHOULDER = (52.0, 44.0)


def wolf_torso_local(p=BUILTIN):
    """The torso with the shoulder the arm grows from, and its clear lines."""
    return [
        p.path(smooth_closed([(42, 33), (53, 34), (59, 44), (60, 58), (58, 72), (56, 84), (44, 88), (33, 86), (31, 72), (32, 56), (35, 42)])),
        p.ellipse(56, 46, 6.2, 7),                                                            # shoulder
        polyline([(38, 80), (56, 80)], p.glass, 1.4),                                            # belt
        polyline([(37, 40), (47, 41.5), (56, 39)], p.glass, 1.1),                               # collar
    ]


def wolf_right_local(p=BUILTIN):
    """Shapes of the wolf facing right, in the 69 x 117 box."""
    seg = []
    # tail: bushy, swept back and down
    seg.append(p.path(smooth_closed([(33, 64), (22, 62), (11, 67), (4, 78), (2, 90), (8, 86), (12, 89), (17, 82), (25, 77), (33, 76)])))
    # back leg and front leg with feet
    seg.append(p.path(smooth_closed([(33, 82), (42, 84), (41, 96), (37, 108), (40, 112), (38, 116), (24, 116), (25, 110), (31, 106), (33, 95)])))
    seg.append(p.path(smooth_closed([(44, 82), (55, 82), (55, 95), (55, 106), (64, 110), (66, 116), (48, 116), (49, 108), (47, 95)])))
    # head with snout and ears
    seg.append(p.path(smooth_closed([(38, 22), (40, 11), (48, 7.5), (56, 11), (61, 17), (68, 20.5), (68.5, 27), (62, 31), (54, 33.5), (45, 35), (39, 31)])))
    seg.append(p.poly([(40, 14), (41, 0), (49, 9)]))
    seg.append(p.poly([(47, 9), (55, 0.5), (56.5, 13)]))
    seg.append(p.poly([(39.5, 24), (34.5, 27), (39, 28.5), (35.5, 32.5), (41, 32)]))  # fur at the back of the head
    seg.append(p.poly([(45, 33), (42, 40), (48, 38), (50, 42), (53, 36)]))   # cheek fur
    details = [
        p.ellipse(54, 18.5, 2.7, 3.0, fill=p.glass),                                           # eye
        p.circle(55.3, 19.3, 1.35),                                                           # pupil
        polyline([(50.5, 13.8), (57.5, 15.2)], p.glass, 1.0),                                   # brow
        polyline([(57, 28.6), (63, 27.8), (66, 26.5)], p.glass, 1.1),                          # mouth
        p.poly([(59.2, 28.4), (61.6, 28.1), (60.6, 31.2)], fill=p.glass),                          # fang
        polyline([(44, 4.5), (45.5, 10)], p.glass, 0.9),                                        # inner ear
        polyline([(44.5, 88), (45, 110)], p.glass, 1.3),                                        # between the legs
        polyline([(10, 80), (17, 74), (24, 71)], p.glass, 0.9),                                 # tail fur
    ]
    return seg + details + wolf_torso_local(p)


def wolf_group(name, facing_right, shapes):
    x, y, w, h = box(name)
    if facing_right:
        t = "translate(%d %d)" % (x, y)
    else:
        sx, sy = w / 69.0, h / 117.0
        t = "translate(%s %d) scale(%s %s)" % (fmt(x + w), y, fmt(-sx), fmt(sy))
    return '<g transform="%s">\n%s\n</g>' % (t, "\n".join(shapes))


def shoulder(facing_right):
    if facing_right:
        x, y, _, _ = box("imWolf1")
        return x + WOLF_SHOULDER[0], y + WOLF_SHOULDER[1]
    x, y, w, h = box("imWolf0")
    return x + w - WOLF_SHOULDER[0] * w / 69.0, y + WOLF_SHOULDER[1] * h / 117.0


def basket(cx, top, width, depth, tilt, p=BUILTIN):
    """A woven basket with its rim centred at (cx, top)."""
    hw = width / 2
    shape = [(cx - hw, top), (cx + hw, top), (cx + hw * 0.72, top + depth), (cx - hw * 0.72, top + depth)]
    shape = rotate(shape, tilt, cx, top + depth / 2)
    out = [p.poly(shape)]
    # rim and weave, clear glass lines
    rim = rotate([(cx - hw + 1, top + 2.6), (cx + hw - 1, top + 2.6)], tilt, cx, top + depth / 2)
    out.append(polyline(rim, p.glass, 1.0))
    for k in (-0.45, -0.15, 0.15, 0.45):
        line = rotate([(cx + k * width * 0.95, top + 4.5), (cx + k * width * 0.7, top + depth - 1.5)], tilt, cx, top + depth / 2)
        out.append(polyline(line, p.glass, 0.9))
    mid = rotate([(cx - hw * 0.86, top + depth * 0.62), (cx + hw * 0.86, top + depth * 0.62)], tilt, cx, top + depth / 2)
    out.append(polyline(mid, p.glass, 0.9))
    return out


def arm(shoulder_at, elbow, hand, p=BUILTIN):
    """Upper arm and forearm, with a paw gripping the basket's rim."""
    return [polyline([shoulder_at, elbow, hand], p.lit, 6.0),
            p.circle(hand[0], hand[1], 3.4),
            polyline([(elbow[0] + (hand[0] - elbow[0]) * 0.55, elbow[1] + (hand[1] - elbow[1]) * 0.55),
                      (elbow[0] + (hand[0] - elbow[0]) * 0.75, elbow[1] + (hand[1] - elbow[1]) * 0.75)], p.glass, 0.9)]


def wolf_and_basket_figures(p=BUILTIN):
    yield ("imWolf1", wolf_group("imWolf1", True, wolf_right_local(p)))
    yield ("imWolf0", wolf_group("imWolf0", False, wolf_right_local(p)))
    # the basket waits under each chute mouth; the arm reaches it from the shoulder
    for name, chute in (("imBask0", "UL"), ("imBask2", "DL"), ("imBask1", "UR"), ("imBask3", "DR")):
        right = chute in ("UR", "DR")
        upper = chute in ("UL", "UR")
        toward = 1 if right else -1
        x, y, w, h = box(name)
        mouth = chute_surface(chute)[-1]
        width, depth = 33, 20
        cx = mouth[0] - toward * 10
        cx = min(max(cx, x + width / 2 + 1.5), x + w - width / 2 - 1.5)
        top = min(mouth[1] + 5, y + h - depth - 2)
        parts = basket(cx, top, width, depth, -toward * 6, p)
        sx, sy = shoulder(right)
        # the arm starts inside the torso, within the basket's own box
        start = (min(max(sx, x + 3.5), x + w - 3.5), min(max(sy, y + 3.5), y + h - 3.5))
        hand = (cx - toward * width * 0.36, top + 2)
        if upper:   # arm stretched out, slightly bent
            elbow = ((start[0] + hand[0]) / 2, (start[1] + hand[1]) / 2 + 5)
        else:       # arm hanging, forearm forward
            elbow = (start[0] + toward * 3, hand[1] + 1)
        # The wolf's own body lies under the arm in the same picture: where the
        # two sprites overlap, the arm's edges then blend into the dark body,
        # not into the glass.
        body = wolf_group("imWolf1" if right else "imWolf0", right, wolf_torso_local(p))
        yield (name, "\n".join([body] + arm(start, elbow, hand, p) + parts))


# --- The hare -----------------------------------------------------------------------------------
def hare_figures(p=BUILTIN):
    x, y, w, h = box("imHare")
    X = lambda px: x + px
    Y = lambda py: y + py
    seg = [
        # ears
        p.ellipse(X(22), Y(13), 3.8, 12.5, rot=-14),
        p.ellipse(X(31), Y(12), 3.8, 12, rot=12),
        # head
        p.path(smooth_closed([(X(17), Y(28)), (X(24), Y(22)), (X(34), Y(23)), (X(40), Y(30)), (X(39), Y(37)), (X(30), Y(40)), (X(20), Y(38))])),
        # body sitting, leaning towards the chutes
        p.path(smooth_closed([(X(18), Y(38)), (X(30), Y(39)), (X(37), Y(47)), (X(40), Y(60)), (X(36), Y(70)), (X(24), Y(73)), (X(13), Y(70)), (X(11), Y(58)), (X(13), Y(46))])),
        # tail and hind foot
        p.circle(X(9), Y(63), 4.2),
        p.path(smooth_closed([(X(20), Y(68)), (X(38), Y(69)), (X(44), Y(72)), (X(38), Y(74)), (X(20), Y(74))])),
        # front paw raised, waving
        p.path(smooth_closed([(X(33), Y(46)), (X(42), Y(41)), (X(49), Y(35)), (X(52), Y(37)), (X(45), Y(46)), (X(36), Y(53))])),
    ]
    details = [
        p.ellipse(X(24.5), Y(13), 1.4, 8, fill=p.glass, rot=-14),
        p.ellipse(X(33), Y(29), 2.1, 2.4, fill=p.glass),
        p.circle(X(33.8), Y(29.4), 1.0),
        polyline([(X(36), Y(35)), (X(38.5), Y(34.5))], p.glass, 0.9),
        polyline([(X(38), Y(32)), (X(44), Y(30.5))], p.lit, 0.7),
        polyline([(X(38), Y(33.5)), (X(44), Y(34))], p.lit, 0.7),
        polyline([(X(26), Y(52)), (X(31), Y(58)), (X(30), Y(66))], p.glass, 1.0),
    ]
    yield ("imHare", "\n".join(seg + details))


def lcd_figures(p=BUILTIN):
    """Every sprite that lies on the glass, drawn in the palette's colours:
    name -> SVG body in the LCD's coordinates, in the order they are drawn."""
    figures = {}
    for draw in (egg_figures, digit_figures, clock_mark_figures, bell_figures, floor_figures,
                 miss_mark_figures, wolf_and_basket_figures, hare_figures):
        figures.update(draw(p))
    return figures


# --- Buttons -----------------------------------------------------------------------------------
BUTTON_RUBBER = "#2C2A28"
BUTTON_LIGHT = "#55504A"


class Picture(NamedTuple):
    """A sprite's SVG body in window coordinates, the colour it lies on, and its defs."""
    body: str
    under: str
    defs: str = ""


def game_buttons():
    """The Game A, Game B and Time buttons: name -> Picture."""
    for name in ("imButtA", "imButtB", "imButtT"):
        x, y, w, h = box(name)
        under = case_colour_at(y + h / 2)
        body = [
            '<rect x="%s" y="%s" width="%s" height="%s" rx="4.5" fill="#1B1A19"/>' % (x + 0.5, y + 0.5, w - 1, h - 1),
            '<rect x="%s" y="%s" width="%s" height="%s" rx="3.5" fill="%s"/>' % (x + 1.5, y + 1.2, w - 3, h - 4, BUTTON_RUBBER),
            '<rect x="%s" y="%s" width="%s" height="2" rx="1" fill="%s"/>' % (x + 4, y + 2.5, w - 8, BUTTON_LIGHT),
        ]
        yield name, Picture("\n".join(body), under)


def button_well(name, fill=WELL):
    """The recess in the case a round button sits in (also printed on the background)."""
    bx, by, bw, bh = box(name)
    return circle(bx + bw / 2, by + bh / 2 + 0.3, min(bw, bh) / 2 + 2.5, fill=fill)


def round_buttons():
    """The sound and exit buttons, opaque, on their piece of the case: name -> Picture."""
    for name, symbol in (("imButtS", "speaker"), ("imButtX", "cross")):
        x, y, w, h = box(name)
        cx, cy = x + w / 2, y + h / 2
        r = min(w, h) / 2 - 0.5
        body = ['<rect x="%d" y="%d" width="%d" height="%d" fill="url(#case)"/>' % (x, y, w, h),
                button_well(name),
                circle(cx, cy + 0.4, r, fill="#1B1A19"),
                circle(cx, cy - 0.2, r - 1.3, fill=ACCENT),
                ellipse(cx - 1.5, cy - r * 0.45, r * 0.45, r * 0.22, fill="#E9826A")]
        if symbol == "speaker":
            body.append(poly([(cx - 4, cy - 1.6), (cx - 2, cy - 1.6), (cx + 1, cy - 4), (cx + 1, cy + 4), (cx - 2, cy + 1.6), (cx - 4, cy + 1.6)], fill=CREAM))
            body.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx + 2.6, cy - 2.4, cx + 4.3, cy, cx + 2.6, cy + 2.4))), CREAM, 1.0))
        else:
            body.append(polyline([(cx - 3, cy - 3), (cx + 3, cy + 3)], CREAM, 1.8))
            body.append(polyline([(cx + 3, cy - 3), (cx - 3, cy + 3)], CREAM, 1.8))
        yield name, Picture("\n".join(body), case_colour_at(cy), case_gradient())


# --- The background: the handheld -------------------------------------------------------------
LCD_RECT = (238, 138, 647, 407)   # the glass: left, top, right, bottom
FLOOR_Y = 368


def hen(x, y, facing, scale, ink=None, fill=None):
    """A hen printed on the glass, sitting on her nest; (x, y) is the nest's
    bottom corner on the side she faces away from."""
    f = facing
    ink = ink or PRINT
    fill = fill or PRINT_LIGHT
    P = lambda px, py: (x + f * px * scale, y + py * scale)
    body = [P(1, -16), P(4, -10), P(9, -9), P(14, -10), P(15.5, -15), P(18, -18), P(21, -17.5), P(22.5, -13),
            P(21, -8), P(19, -3.5), P(13, -1.5), P(5, -1.5), P(1, -5), P(0, -10)]
    sw = ' stroke="%s" stroke-width="1.2" stroke-linejoin="round"' % ink
    out = [path(smooth_closed(body), fill=fill, extra=sw.replace("1.2", fmt(1.2 * max(1.0, scale / 1.5))))]
    out.append(poly([P(17, -18.5), P(18, -21), P(19.5, -19), P(21, -21), P(21.5, -17.5)], fill=ink))      # comb
    out.append(poly([P(22.3, -15), P(25.5, -13.8), P(22.3, -12.5)], fill=ink))                            # beak
    out.append(poly([P(20.5, -11), P(21.5, -8), P(22.5, -10.5)], fill=ink))                               # wattle
    out.append(circle(*P(19.5, -14.8), 0.9 * scale + 0.2, fill=ink))                                         # eye
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, P(5, -6) + P(10, -11) + P(15, -6))), ink, 1.0))  # wing
    # the nest: a straw bowl
    nest = [P(-1.5, -3.5), P(25, -3.5), P(22, 1), P(2, 1)]
    out.append(poly(nest, fill=ink))
    for k in range(1, 6):
        out.append(polyline([P(k * 4.2 - 1, -3.2), P(k * 4.2 + 1.2, 0.6)], fill, 0.8))
    return out


def draw_chute(chute, p=BUILTIN):
    """A plank ramp printed under the eggs, from the hen's nest to the mouth."""
    surface = chute_surface(chute)
    right = chute in ("UR", "DR")
    top, under = 2.2, 6.0
    down = lambda pts_, d: [(x, y + d) for x, y in pts_]
    out = [poly(down(surface, top) + down(surface, under)[::-1], fill=p.print_fill),
           poly(down(surface, 0.1) + down(surface, top)[::-1], fill=p.print),
           polyline(down(surface, under), p.print, 0.9)]
    # slats across the underside
    for xs, ys in surface[1:-1:2]:
        out.append(polyline([(xs, ys + top), (xs + (1.5 if right else -1.5), ys + under)], p.print, 0.8))
    # a stop at the mouth so the eggs tip off into the basket
    xm, ym = surface[-1]
    out.append(polyline([(xm, ym - 0.5), (xm, ym + under)], p.print, 1.5))
    return out


def tuft(x, y, s=1.0, ink=PRINT):
    return polyline([(x - 4 * s, y), (x - 2 * s, y - 5 * s), (x - 0.5 * s, y - 1 * s), (x + 1 * s, y - 6 * s),
                     (x + 2.5 * s, y - 1 * s), (x + 4.5 * s, y - 4 * s), (x + 5 * s, y)], ink, 1.0)


def cloud(x, y, s):
    bumps = [(0, 0, 5), (6, -3, 6.5), (13, -1, 5.5), (18, 1.5, 4)]
    out = [circle(x + bx * s, y + by * s, r * s, fill=PRINT_LIGHT, extra=' stroke="%s" stroke-width="1.1"' % PRINT)
           for bx, by, r in bumps]
    # the inner strokes are hidden again by plain fills, leaving one outline
    out += [circle(x + bx * s, y + by * s, r * s - 0.9, fill=PRINT_LIGHT) for bx, by, r in bumps]
    out.append('<rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>' % (
        fmt(x - 3 * s), fmt(y + 0.5 * s), fmt(24 * s), fmt(4.2 * s), PRINT_LIGHT))
    out.append(polyline([(x - 4.2 * s, y + 4.8 * s), (x + 21.5 * s, y + 4.8 * s)], PRINT, 1.1))
    return out


def sky():
    sx, sy, r = 622, 162, 8
    out = [circle(sx, sy, r, fill=PRINT_LIGHT, extra=' stroke="%s" stroke-width="1.2"' % PRINT)]
    for k in range(10):
        a = 2 * math.pi * k / 10 + 0.2
        out.append(polyline([(sx + (r + 2.5) * math.cos(a), sy + (r + 2.5) * math.sin(a)),
                             (sx + (r + 6) * math.cos(a), sy + (r + 6) * math.sin(a))], PRINT, 1.1))
    out += cloud(586, 186, 1.0)
    out += cloud(252, 160, 0.9)
    return out


def printed_scenery(sky_shapes, p=BUILTIN):
    """What is printed on the glass and never switches: the chutes with their
    hens, the sky (given), the hare's mound and the floor, in the palette's print."""
    out = []
    for chute in CHUTES:
        out += draw_chute(chute, p)
        x0, y0 = chute_surface(chute)[0]
        # the hen sits on her nest just above the top end of her chute
        if chute in ("UR", "DR"):
            out += hen(LCD_RECT[2] - 3, y0 - 1.5, -1, 1.0, ink=p.print, fill=p.print_fill)
        else:
            out += hen(LCD_RECT[0] + 3, y0 - 1.5, 1, 1.0, ink=p.print, fill=p.print_fill)
    out += sky_shapes
    # the mound the hare sits on
    hx, hy, hw, hh = box("imHare")
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (hx - 2, hy + hh + 2, hx + hw / 2, hy + hh - 4, hx + hw + 4, hy + hh + 2))), p.print, 1.3))
    out.append(tuft(hx + 4, hy + hh + 0.5, 0.7, p.print))
    out.append(tuft(hx + hw - 2, hy + hh + 0.5, 0.7, p.print))
    # floor
    out.append(polyline([(LCD_RECT[0] + 6, FLOOR_Y), (LCD_RECT[2] - 6, FLOOR_Y)], p.print, 1.4))
    for tx, s in ((252, 0.9), (366, 0.7), (480, 0.8), (565, 0.7), (636, 0.9)):
        out.append(tuft(tx, FLOOR_Y - 0.5, s, p.print))
    return out


def background():
    """The handheld: case, faceplate, the glass with its printed scenery."""
    x0, y0, x1, y1 = 8, CASE_Y0, 867, CASE_Y1
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
    # the emblem: a hen on her nest in a red medallion, an egg beside her
    out.append(circle(105, 300, 40, fill=ACCENT))
    out.append(circle(105, 300, 35, fill="none", extra=' stroke="%s" stroke-width="1.5"' % CREAM))
    out += hen(74, 322, 1, 2.2, ink="#8E2E1A", fill=CREAM)
    # grip ridges on the right
    for k in range(7):
        gy = 300 + k * 9
        out.append('<rect x="770" y="%d" width="60" height="3" rx="1.5" fill="#C6B18A"/>' % gy)
        out.append('<rect x="770" y="%d" width="60" height="1" rx="0.5" fill="#FBF4E2"/>' % (gy + 3))
    # button wells and labels
    for name, label in (("imButtA", "GAME A"), ("imButtB", "GAME B"), ("imButtT", "TIME")):
        bx, by, bw, bh = box(name)
        out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="6" fill="%s"/>' % (bx - 2.5, by - 2, bw + 5, bh + 5, WELL))
        out.append(text(label, bx - 8, by + bh / 2 - 3.5, 7, INK, 1.3, spacing=1.8, anchor="end"))
    for name in ("imButtS", "imButtX"):
        bx, by, bw, bh = box(name)
        out.append(button_well(name))
    sx, sy, sw, sh = box("imButtS")
    cx = sx + sw / 2
    out.append(poly([(cx - 5, sy - 9), (cx - 2.5, sy - 9), (cx + 0.5, sy - 12), (cx + 0.5, sy - 3), (cx - 2.5, sy - 6), (cx - 5, sy - 6)], fill=INK))
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx + 2.5, sy - 10, cx + 4.5, sy - 7.5, cx + 2.5, sy - 5))), INK, 1.0))
    out.append(stroke_path("M %s %s Q %s %s %s %s" % tuple(map(fmt, (cx + 4.5, sy - 12, cx + 7.5, sy - 7.5, cx + 4.5, sy - 3))), INK, 1.0))
    xx, xy, xw, xh = box("imButtX")
    out.append(text("OFF", xx + xw / 2, xy - 11, 6, INK, 1.2, spacing=1.4, anchor="middle"))
    # a sun and clouds printed in the sky
    out += printed_scenery(sky())
    return Picture("\n".join(out), CASE_RIM, case_gradient())

