"""Every figure on the glass, in drawing order."""

from .animals import bell_figures, floor_figures, hare_figures, miss_mark_figures
from .digits import clock_mark_figures, digit_figures
from .eggs import egg_figures
from .palette import BUILTIN
from .wolf import wolf_and_basket_figures


def lcd_figures(p=BUILTIN):
    """Every sprite that lies on the glass, drawn in the palette's colours:
    name -> SVG body in the LCD's coordinates, in the order they are drawn."""
    figures = {}
    for draw in (egg_figures, digit_figures, clock_mark_figures, bell_figures, floor_figures,
                 miss_mark_figures, wolf_and_basket_figures, hare_figures):
        figures.update(draw(p))
    return figures
