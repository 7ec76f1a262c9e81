"""The colours of the built-in handheld and its case."""


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
