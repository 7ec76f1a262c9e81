"""The case: its buttons, the printed scenery and the background."""

import math

from .colours import ACCENT, CASE_RIM, CASE_Y0, CASE_Y1, CREAM, FACE, INK, LCD, PRINT, PRINT_LIGHT, WELL, case_colour_at, case_gradient
from .eggs import CHUTES, chute_surface
from .font import text
from .geometry import smooth_closed
from .sprite_table import box
from .palette import BUILTIN
from .svg import Picture, circle, ellipse, fmt, path, poly, polyline, stroke_path


# --- Buttons -----------------------------------------------------------------------------------
BUTTON_RUBBER = "#2C2A28"
BUTTON_LIGHT = "#55504A"



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
