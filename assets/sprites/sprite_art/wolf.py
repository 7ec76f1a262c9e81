"""The wolf and his baskets."""

from .eggs import chute_surface
from .geometry import rotate, smooth_closed
from .sprite_table import box
from .palette import BUILTIN
from .svg import fmt, polyline


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
