"""The seven-segment digits and the clock marks."""

from .font import text
from .sprite_table import box
from .palette import BUILTIN


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
