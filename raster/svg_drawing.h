#pragma once
// Our SVG pictures drawn by Qt's own SVG image plugin, which Qt loads the
// first time a picture is drawn so: the program links no SVG library, and
// one that only shows pictures prebuilt at its screen's scale never loads it.
// The plugin draws as Qt SVG's renderer does (anti-aliased), pixel for pixel.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <optional>

namespace pellox {

// The size of the SVG's viewBox (or of its width and height without one);
// nothing when the root element is no <svg> or gives neither.
std::optional<QSizeF> SvgViewBoxSize(const QByteArray& svg);

// The whole picture drawn on a transparent image of `size` (ARGB32
// premultiplied), stretched to fill it; null when the SVG cannot be drawn.
QImage DrawSvg(const QByteArray& svg, QSize size);

// The picture drawn at `ratio` device pixels per picture unit from the top
// left corner of an image of `size` (its scaled size rounded up, so that a
// fractional ratio leaves part of the last row and column uncovered).
QImage DrawSvg(const QByteArray& svg, qreal ratio, QSize size);

}  // namespace pellox
