"""The colours a set of figures is drawn in."""

from dataclasses import dataclass

from .colours import LCD, PRINT, PRINT_LIGHT, SEG
from .svg import circle, ellipse, path, poly


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
