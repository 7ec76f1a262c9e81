"""The drawing library of the game's pictures: the sprite layout, SVG shapes,
a stroke font, and the figures, scenery and case of the built-in handheld.

Nothing here writes a file. Each figure routine takes a `Palette` and returns
the SVG bodies of its sprites, so a picture set in other colours (the Night
Shift skin, the start screen) draws the same figures with its own palette.
`generate.py` beside this package is the writer of the built-in pictures.
The sprite table is read the first time a box is asked for (`layout()`,
`box()`), never at import; each module of the package holds one kind of figure
and the names below are the library's surface.

Coordinates: every sprite is drawn in the LCD's own pixel coordinates
(`scene` group translated by minus the sprite's top-left corner), so shapes
that must meet across sprites (eggs on chutes, arms at the wolf's shoulder,
digit segments) are designed in one coordinate system.
"""

from .colours import (  # noqa: F401
    LCD, SEG, PRINT, PRINT_LIGHT, CASE_TOP, CASE_BOTTOM, CASE_RIM, FACE, ACCENT, INK, CREAM,
    WELL, CASE_Y0, CASE_Y1, hexrgb, case_colour_at, case_gradient)
from .palette import (  # noqa: F401
    Palette, BUILTIN)
from .sprite_table import (  # noqa: F401
    SPRITES_FOLDER, LAYOUT_TABLE, read_layout, sprites, layout, box, is_transparent)
from .svg import (  # noqa: F401
    fmt, pts, poly, polyline, path, stroke_path, ellipse, circle, svg_document, Picture)
from .font import (  # noqa: F401
    GLYPHS, text_width, text)
from .geometry import (  # noqa: F401
    rotate, bbox, smooth_closed)
from .eggs import (  # noqa: F401
    CHUTES, egg_outline, fitted_egg, EGG_FILL, chute_line, chute_ends, solve3, chute_curve,
    egg_shapes, chute_surface, egg_figures)
from .digits import (  # noqa: F401
    SLANT, Y_TOP, Y_MID, Y_BOT, X_LEFT_AT_TOP, X_RIGHT_AT_TOP, HALF, GAP, left_x, right_x,
    horizontal_segment, vertical_segment, digit_segments, digit_figures, clock_mark_figures)
from .animals import (  # noqa: F401
    bell_figures, chick, half_shell, floor_figures, miss_mark_figures, hare_figures)
from .wolf import (  # noqa: F401
    WOLF_SHOULDER, wolf_torso_local, wolf_right_local, wolf_group, shoulder, basket, arm,
    wolf_and_basket_figures)
from .glass import (  # noqa: F401
    lcd_figures)
from .handheld import (  # noqa: F401
    BUTTON_RUBBER, BUTTON_LIGHT, game_buttons, button_well, round_buttons, LCD_RECT, FLOOR_Y,
    hen, draw_chute, tuft, cloud, sky, printed_scenery, background)
