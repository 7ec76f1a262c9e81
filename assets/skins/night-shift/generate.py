#!/usr/bin/env python3
"""Writes the SVG sources of the "Night Shift" skin (one file per picture).

The same handheld at night: a dark graphite case and a blue-black glass whose
segments light up cyan with a soft halo. The figures (wolf, eggs, chicks, hare,
digits) and the printed chutes and hens are the built-in drawings of the
library assets/sprites/sprite_art/, drawn in night palettes; the case, the
sky and the buttons are drawn here. Run `python3 generate.py` in this folder
and commit the script together with the SVGs in svg/ it rewrote
(`python3 generate.py DIR` writes them into DIR instead). The build
renders one picture per sprite of lcd/core/sprite_layout.txt, at its box's
size, with the key colour purple unless the sprite is opaque.
"""

import math
import os
import sys

sys.dont_write_bytecode = True   # leave no cache beside the built-in drawings

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "sprites"))
import sprite_art as base  # noqa: E402  (the drawing library of the built-in pictures)

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "svg")

# --- Palette ---------------------------------------------------------------
GLASS = "#0A1322"        # the unlit glass, blue-black
LIT = "#7FF6EC"          # a lit segment: pale cyan, nearly white at its core
HALO = "#1D6F79"         # the glow around a lit segment
GHOST = "#0E192B"        # an unlit segment, just visible on the glass
PRINT = "#2C4F73"        # scenery printed on the glass
PRINT_FILL = "#112238"   # printed fills, a shade above the glass
CASE_TOP = (0x2A, 0x2F, 0x3A)
CASE_BOTTOM = (0x14, 0x17, 0x1E)
CASE_RIM = "#05070A"
FACE = "#07090D"         # the faceplate round the glass
TRIM = "#2FC7C0"         # cyan trim
AMBER = "#F2A93B"        # the brand and the button labels
LABEL = "#7E8CA3"        # small printing on the case
WELL = "#0B0D12"         # recess round a button
HALO_WIDTH = 2.2         # the halo reaches 1.1 px beyond a segment
# Where a figure nearly fills its box a wide halo would reach the box's
# lower-left pixel, which holds the key colour: these glow more narrowly.
NARROW_HALO = {"imBask1": 0.6}
DIGIT_HALO = 1.0         # the digits' segments sit 1.8 px apart

# The palettes the built-in figures are drawn in: lit, their halo (every
# colour of the figure in one), and unlit (a ghost on the glass).
NIGHT = base.Palette(lit=LIT, glass=GLASS, print=PRINT, print_fill=PRINT_FILL)
HALO_INK = base.Palette(lit=HALO, glass=HALO)
GHOST_INK = base.Palette(lit=GHOST, glass=GHOST)


def case_colour_at(y):
    return base.case_colour_at(y, CASE_TOP, CASE_BOTTOM)


def case_gradient():
    return base.case_gradient(CASE_TOP, CASE_BOTTOM)


# --- Writing --------------------------------------------------------------------
WRITTEN = set()


def write_svg(name, body, under, defs=""):
    with open(os.path.join(OUT, name + ".svg"), "w") as f:
        f.write(base.svg_document(name, body, under, defs))
    WRITTEN.add(name)


def glowing(halo, lit, width):
    """A lit figure: its shapes in the halo colour, widened, under the figure itself."""
    return ('<g stroke="%s" stroke-width="%s" stroke-linejoin="round">\n%s\n</g>\n%s'
            % (HALO, base.fmt(width), halo, lit))


def halo_width(name):
    if name.startswith("imD1"):
        return DIGIT_HALO
    return NARROW_HALO.get(name, HALO_WIDTH)


def draw_lit_figures():
    halos = base.lcd_figures(HALO_INK)
    for name, lit in base.lcd_figures(NIGHT).items():
        write_svg(name, glowing(halos[name], lit, halo_width(name)), GLASS)


# --- Buttons ----------------------------------------------------------------------
def draw_game_buttons():
    for name in ("imButtA", "imButtB", "imButtT"):
        x, y, w, h = base.box(name)
        body = [
            '<rect x="%s" y="%s" width="%s" height="%s" rx="5" fill="#020305"/>' % (x + 0.5, y + 0.5, w - 1, h - 1),
            '<rect x="%s" y="%s" width="%s" height="%s" rx="4" fill="#1C222C" stroke="%s" stroke-width="1.2"/>'
            % (x + 1.8, y + 1.6, w - 3.6, h - 4, TRIM),
            '<rect x="%s" y="%s" width="%s" height="1.6" rx="0.8" fill="#3A4556"/>' % (x + 5, y + 3.6, w - 10),
        ]
        write_svg(name, "\n".join(body), case_colour_at(y + h / 2))


def button_well(name):
    return base.button_well(name, fill=WELL)


def draw_round_buttons():
    for name, symbol in (("imButtS", "speaker"), ("imButtX", "cross")):
        x, y, w, h = base.box(name)
        cx, cy = x + w / 2, y + h / 2
        r = min(w, h) / 2 - 0.5
        body = ['<rect x="%d" y="%d" width="%d" height="%d" fill="url(#case)"/>' % (x, y, w, h),
                button_well(name),
                base.circle(cx, cy + 0.4, r, fill="#020305"),
                base.circle(cx, cy - 0.2, r - 1.3, fill="#1C222C", extra=' stroke="%s" stroke-width="1"' % AMBER)]
        if symbol == "speaker":
            body.append(base.poly([(cx - 4, cy - 1.6), (cx - 2, cy - 1.6), (cx + 1, cy - 4), (cx + 1, cy + 4),
                                   (cx - 2, cy + 1.6), (cx - 4, cy + 1.6)], fill=AMBER))
            body.append(base.stroke_path("M %s %s Q %s %s %s %s" % tuple(map(base.fmt, (
                cx + 2.6, cy - 2.4, cx + 4.3, cy, cx + 2.6, cy + 2.4))), AMBER, 1.0))
        else:
            body.append(base.polyline([(cx - 2.8, cy - 2.8), (cx + 2.8, cy + 2.8)], AMBER, 1.6))
            body.append(base.polyline([(cx + 2.8, cy - 2.8), (cx - 2.8, cy + 2.8)], AMBER, 1.6))
        write_svg(name, "\n".join(body), case_colour_at(cy), defs=case_gradient())


# --- The background: the handheld at night -------------------------------------
LCD_RECT = base.LCD_RECT


def star(x, y, r, colour=PRINT):
    """A four-pointed star printed on the glass."""
    pts = []
    for k in range(8):
        a = math.pi * k / 4 - math.pi / 2
        rr = r if k % 2 == 0 else r * 0.32
        pts.append((x + rr * math.cos(a), y + rr * math.sin(a)))
    return base.poly(pts, fill=colour)


def moon(x, y, r):
    """A crescent: a disc with a second, shifted disc of glass over it."""
    return [base.circle(x, y, r, fill=PRINT_FILL, extra=' stroke="%s" stroke-width="1.2"' % PRINT),
            base.circle(x + r * 0.45, y - r * 0.3, r * 0.85, fill=GLASS)]


def night_sky():
    out = moon(620, 164, 9)
    for sx, sy, r in ((588, 176, 3.2), (600, 196, 2.2), (566, 160, 2.0), (640, 196, 2.6),
                      (258, 160, 3.0), (276, 176, 2.0), (248, 186, 2.2), (370, 150, 2.0)):
        out.append(star(sx, sy, r))
    return out


def ghosts():
    """The unlit segments, faintly visible on the glass as on a real screen."""
    return ["<g>\n%s\n</g>" % body for body in base.lcd_figures(GHOST_INK).values()]


def owl(cx, cy, s, ink, fill):
    """The emblem: an owl on a branch, the night's own bird."""
    P = lambda px, py: (cx + px * s, cy + py * s)
    out = [base.path(base.smooth_closed([P(-9, -6), P(-7, -12), P(0, -10), P(7, -12), P(9, -6), P(10, 4),
                                         P(6, 12), P(0, 14), P(-6, 12), P(-10, 4)]), fill=fill,
                     extra=' stroke="%s" stroke-width="1.6"' % ink),
           base.poly([P(-7, -11), P(-8.5, -16), P(-3.5, -11)], fill=ink),
           base.poly([P(7, -11), P(8.5, -16), P(3.5, -11)], fill=ink)]
    for ex in (-4, 4):
        out.append(base.circle(*P(ex, -4), 3.6 * s, fill=ink))
        out.append(base.circle(*P(ex, -4), 1.6 * s, fill=AMBER))
    out.append(base.poly([P(-1.3, -1), P(1.3, -1), P(0, 2)], fill=AMBER))
    for k in range(3):   # feathers on the breast
        out.append(base.stroke_path("M %s %s Q %s %s %s %s" % tuple(map(base.fmt, P(-4 + k * 4 - 1.6, 5 + (k % 2) * 2)
                                                                        + P(-4 + k * 4, 7 + (k % 2) * 2)
                                                                        + P(-4 + k * 4 + 1.6, 5 + (k % 2) * 2))),
                                    ink, 1.0))
    out.append(base.polyline([P(-16, 14.5), P(16, 13.5)], ink, 2.2))   # the branch
    return out


def draw_background():
    x0, y0, x1, y1 = 8, base.CASE_Y0, 867, base.CASE_Y1
    text = base.text
    out = [
        '<rect x="%d" y="%d" width="%d" height="%d" rx="44" fill="%s"/>' % (x0, y0, x1 - x0, y1 - y0, CASE_RIM),
        '<rect x="%d" y="%d" width="%d" height="%d" rx="41" fill="url(#case)"/>' % (x0 + 3, y0 + 3, x1 - x0 - 6, y1 - y0 - 6),
        '<rect x="%d" y="%d" width="%d" height="%d" rx="34" fill="none" stroke="#3C4352" stroke-width="1.2"/>'
        % (x0 + 11, y0 + 11, x1 - x0 - 22, y1 - y0 - 22),
        # a thin cyan line along the bottom, as if lit from inside
        '<rect x="40" y="482" width="795" height="3" rx="1.5" fill="%s"/>' % TRIM,
        '<rect x="40" y="490" width="795" height="1.5" rx="0.75" fill="#1B6E6B"/>',
        # the faceplate round the glass
        '<rect x="204" y="102" width="478" height="344" rx="16" fill="%s"/>' % FACE,
        '<rect x="211" y="109" width="464" height="330" rx="11" fill="none" stroke="%s" stroke-width="1.2"/>' % TRIM,
        text("KESTROW", 442.5, 116, 11, AMBER, 1.8, spacing=4, anchor="middle"),
        text("NIGHT SHIFT", 442.5, 418, 7, LABEL, 1.2, spacing=3, anchor="middle"),
        # the glass
        '<rect x="%d" y="%d" width="%d" height="%d" fill="#000000"/>'
        % (LCD_RECT[0] - 3, LCD_RECT[1] - 3, LCD_RECT[2] - LCD_RECT[0] + 6, LCD_RECT[3] - LCD_RECT[1] + 6),
        '<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
        % (LCD_RECT[0], LCD_RECT[1], LCD_RECT[2] - LCD_RECT[0], LCD_RECT[3] - LCD_RECT[1], GLASS),
        # brand
        text("PELLOX", 105, 430, 20, AMBER, 3.4, spacing=5, anchor="middle"),
        text("POCKET LCD GAME", 105, 457, 6, LABEL, 1.1, spacing=2.2, anchor="middle"),
    ]
    # speaker grille: slots instead of holes
    for k in range(7):
        gy = 140 + k * 8
        half = 30 - abs(k - 3) * 5
        out.append('<rect x="%s" y="%d" width="%s" height="3.2" rx="1.6" fill="#020305"/>' % (105 - half, gy, 2 * half))
    # the emblem: an owl in a ring
    out.append(base.circle(105, 300, 40, fill="#10131A", extra=' stroke="%s" stroke-width="2"' % TRIM))
    out.append(base.circle(105, 300, 34, fill="none", extra=' stroke="#2A3140" stroke-width="1"'))
    out += owl(105, 298, 1.7, "#0A0C10", "#5A6478")
    # grip ridges on the right
    for k in range(7):
        gy = 300 + k * 9
        out.append('<rect x="770" y="%d" width="60" height="3" rx="1.5" fill="#05070A"/>' % gy)
        out.append('<rect x="770" y="%d" width="60" height="1" rx="0.5" fill="#3C4352"/>' % (gy + 3))
    for name, label in (("imButtA", "GAME A"), ("imButtB", "GAME B"), ("imButtT", "TIME")):
        bx, by, bw, bh = base.box(name)
        out.append('<rect x="%s" y="%s" width="%s" height="%s" rx="6" fill="%s"/>' % (bx - 2.5, by - 2, bw + 5, bh + 5, WELL))
        out.append(text(label, bx - 8, by + bh / 2 - 3.5, 7, AMBER, 1.3, spacing=1.8, anchor="end"))
    for name in ("imButtS", "imButtX"):
        out.append(button_well(name))
    sx, sy, sw, sh = base.box("imButtS")
    cx = sx + sw / 2
    out.append(base.poly([(cx - 5, sy - 9), (cx - 2.5, sy - 9), (cx + 0.5, sy - 12), (cx + 0.5, sy - 3),
                          (cx - 2.5, sy - 6), (cx - 5, sy - 6)], fill=LABEL))
    out.append(base.stroke_path("M %s %s Q %s %s %s %s" % tuple(map(base.fmt, (
        cx + 2.5, sy - 10, cx + 4.5, sy - 7.5, cx + 2.5, sy - 5))), LABEL, 1.0))
    xx, xy, xw, xh = base.box("imButtX")
    out.append(text("OFF", xx + xw / 2, xy - 11, 6, LABEL, 1.2, spacing=1.4, anchor="middle"))
    out += ghosts()
    out += base.printed_scenery(night_sky(), NIGHT)
    write_svg("imBckgrnd", "\n".join(out), CASE_RIM, defs=case_gradient())


def main():
    os.makedirs(OUT, exist_ok=True)
    draw_background()
    draw_lit_figures()
    draw_game_buttons()
    draw_round_buttons()
    missing = sorted(set(base.layout()) - set(WRITTEN))
    if missing:
        raise SystemExit("no picture drawn for: " + ", ".join(missing))


if __name__ == "__main__":
    main()
