"""SVG shapes, the document of one sprite, and a picture with what lies under it."""

from typing import NamedTuple

from .colours import SEG
from .sprite_table import box


# --- SVG helpers -------------------------------------------------------------
def fmt(v):
    s = "%.2f" % v
    return s.rstrip("0").rstrip(".") if "." in s else s


def pts(points):
    return " ".join("%s,%s" % (fmt(x), fmt(y)) for x, y in points)


def poly(points, fill=SEG, extra=""):
    return '<polygon points="%s" fill="%s"%s/>' % (pts(points), fill, extra)


def polyline(points, stroke, width, extra=""):
    return ('<polyline points="%s" fill="none" stroke="%s" stroke-width="%s" '
            'stroke-linecap="round" stroke-linejoin="round"%s/>' % (pts(points), stroke, fmt(width), extra))


def path(d, fill=SEG, extra=""):
    return '<path d="%s" fill="%s"%s/>' % (d, fill, extra)


def stroke_path(d, stroke, width, extra=""):
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%s" stroke-linecap="round" '
            'stroke-linejoin="round"%s/>' % (d, stroke, fmt(width), extra))


def ellipse(cx, cy, rx, ry, fill=SEG, rot=0.0, extra=""):
    t = ' transform="rotate(%s %s %s)"' % (fmt(rot), fmt(cx), fmt(cy)) if rot else ""
    return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"%s%s/>' % (
        fmt(cx), fmt(cy), fmt(rx), fmt(ry), fill, t, extra)


def circle(cx, cy, r, fill=SEG, extra=""):
    return '<circle cx="%s" cy="%s" r="%s" fill="%s"%s/>' % (fmt(cx), fmt(cy), fmt(r), fill, extra)



def svg_document(name, body, under, defs=""):
    """The SVG file of a sprite: its box's size, the body drawn in window coordinates."""
    x, y, w, h = box(name)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="%d" height="%d" viewBox="0 0 %d %d" data-under="%s">\n'
            '<title>%s</title>\n%s'
            '<g transform="translate(%d %d)">\n%s\n</g>\n</svg>\n'
            % (w, h, w, h, under, name, ("<defs>%s</defs>\n" % defs) if defs else "", -x, -y, body))



class Picture(NamedTuple):
    """A sprite's SVG body in window coordinates, the colour it lies on, and its defs."""
    body: str
    under: str
    defs: str = ""
