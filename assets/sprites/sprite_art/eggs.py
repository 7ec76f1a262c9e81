"""The eggs and the chutes they roll down."""

import math

from .geometry import bbox, rotate
from .sprite_table import box
from .palette import BUILTIN


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
