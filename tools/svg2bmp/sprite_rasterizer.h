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

namespace pellox {

struct RasterTarget {
    int width = 0;
    int height = 0;
    bool transparent = true;   // false: the whole box is drawn, no key colour
    QColor key;                // key colour of a transparent picture
    QColor under;              // what the picture is blended against
};

struct RasterResult {
    QImage image;              // Format_RGB888, or null on failure
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

RasterResult RasterizeSvg(const QByteArray& svg, const RasterTarget& target);

}  // namespace pellox
