#pragma once
// Turns an SVG picture into a sprite bitmap with a key colour: anti-aliased
// against the colour that will lie beneath it, then every pixel the art covers
// less than half becomes exactly the key colour, so no key-coloured fringe is
// left around the shapes.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "lcd/core/sprite_layout.h"

namespace pellox {

struct RasterTarget {
    int width = 0;             // the picture's size in the game's own pixels,
    int height = 0;            // which the SVG's viewBox must match
    bool transparent = true;   // false: the whole box is drawn, no key colour
    QColor key;                // key colour of a transparent picture
    QColor under;              // what the picture is blended against
    qreal ratio = 1.0;         // device pixels per game pixel; the image is
                               // width x height times this, rounded up
    bool drawable = false;     // give the picture ready to draw instead of a bitmap
};

struct RasterResult {
    QImage image;              // Format_RGB888 at the target's ratio, or null on failure;
                               // for a drawable target ARGB32 premultiplied with
                               // the key pixels cleared and the ratio as its own
    QString error;             // why it failed
    QString warning;           // non-fatal remark (lower-left pixel forced)
};

// Reads the optional `data-under="#rrggbb"` attribute of the SVG's root
// element: the colour the art was drawn to sit on.
std::optional<QColor> UnderColourOf(const QByteArray& svg);

// A colour as given on the command line: anything QColor::fromString reads
// ("#ff00ff", "white"), or six hex digits without the '#' ("ff00ff"), which a
// build script can pass without quoting.
std::optional<QColor> ParseColour(const QString& text);

// A picture size "WxH", e.g. "121x124"; each side 1 to 4096.
std::optional<QSize> ParseSize(const QString& text);

// A built-in sprite's target: its layout size, transparency and key colour
// (the colour beneath still to be set).
RasterTarget SpriteRasterTarget(SpriteId id);

// The size in device pixels of a picture of width x height game pixels at ratio.
QSize RasterSize(int width, int height, qreal ratio);

RasterResult RasterizeSvg(const QByteArray& svg, const RasterTarget& target);

}  // namespace pellox
