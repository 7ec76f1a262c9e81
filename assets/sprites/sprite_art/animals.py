"""The bell, the chicks, shells and miss marks, and the hare."""

import math

from .geometry import smooth_closed
from .sprite_table import box
from .palette import BUILTIN
from .svg import fmt, polyline, stroke_path


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
