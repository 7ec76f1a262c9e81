#include "raster/sprite_rasterizer.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>

#include "raster/svg_drawing.h"

namespace pellox {
namespace {

// The window's own see-through colour: a drawn pixel must never be exactly it.
constexpr QRgb kWindowHole = qRgb(128, 0, 128);

QRgb Blend(QRgb premultiplied, QRgb under) {
    const int a = qAlpha(premultiplied);
    auto channel = [&](int src, int dst) { return src + (dst * (255 - a) + 127) / 255; };
    return qRgb(channel(qRed(premultiplied), qRed(under)),
                channel(qGreen(premultiplied), qGreen(under)),
                channel(qBlue(premultiplied), qBlue(under)));
}

// A drawn pixel that happens to equal a see-through colour would become a
// hole; move it one step away in blue, which nobody can see.
QRgb AvoidKey(QRgb c, QRgb key, bool transparent) {
    if ((transparent && c == key) || c == kWindowHole) {
        const int b = qBlue(c);
        return qRgb(qRed(c), qGreen(c), b < 255 ? b + 1 : b - 1);
    }
    return c;
}

}  // namespace

std::optional<QColor> UnderColourOf(const QByteArray& svg) {
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement) {
            const auto value = xml.attributes().value(QStringLiteral("data-under"));
            if (value.isEmpty()) return std::nullopt;
            QColor colour = QColor::fromString(value);
            if (!colour.isValid()) return std::nullopt;
            return colour;
        }
    }
    return std::nullopt;
}

std::optional<QColor> ParseColour(const QString& text) {
    static const QRegularExpression bareHex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const QColor colour = QColor::fromString(bareHex.match(text).hasMatch() ? QLatin1Char('#') + text : text);
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

std::optional<QSize> ParseSize(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
    const auto m = form.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const int w = m.captured(1).toInt(), h = m.captured(2).toInt();
    if (w < 1 || h < 1 || w > 4096 || h > 4096) return std::nullopt;
    return QSize(w, h);
}

RasterTarget SpriteRasterTarget(SpriteId id) {
    const SpriteLayout& layout = LayoutOf(id);
    RasterTarget target;
    target.width = layout.bounds.width;
    target.height = layout.bounds.height;
    target.transparent = layout.transparent;
    target.key = QColor(layout.builtinKey.r, layout.builtinKey.g, layout.builtinKey.b);
    return target;
}

QSize RasterSize(int width, int height, qreal ratio) {
    // Rounded up, so that a fractional ratio never leaves the last row undrawn;
    // the tolerance keeps 121 x 2.0 at 242 whatever the floating point does.
    auto side = [ratio](int n) { return static_cast<int>(std::ceil(n * ratio - 1e-6)); };
    return {side(width), side(height)};
}

RasterResult RasterizeSvg(const QByteArray& svg, const RasterTarget& target) {
    RasterResult result;
    if (!(target.ratio >= 1.0 && target.ratio <= 8.0)) {
        result.error = QStringLiteral("ratio %1 is outside 1 to 8").arg(target.ratio);
        return result;
    }
    if (target.width <= 0 || target.height <= 0) {
        result.error = QStringLiteral("target size %1 x %2 is empty").arg(target.width).arg(target.height);
        return result;
    }
    {
        // QSvgRenderer accepts some malformed XML silently; check it first.
        QXmlStreamReader xml(svg);
        while (!xml.atEnd()) xml.readNext();
        if (xml.hasError()) {
            result.error = QStringLiteral("not well-formed XML (line %1): %2")
                               .arg(xml.lineNumber())
                               .arg(xml.errorString());
            return result;
        }
    }
    const std::optional<QSizeF> box = SvgViewBoxSize(svg);
    if (!box) {
        result.error = QStringLiteral("not a usable SVG picture");
        return result;
    }
    if (std::lround(box->width()) != target.width || std::lround(box->height()) != target.height) {
        result.error = QStringLiteral("SVG viewBox is %1 x %2, the picture is %3 x %4")
                           .arg(box->width())
                           .arg(box->height())
                           .arg(target.width)
                           .arg(target.height);
        return result;
    }

    // Drawn straight at the device size: the shapes' edges fall on device
    // pixels, and the key colour is decided there, never scaled afterwards.
    const QSize size = RasterSize(target.width, target.height, target.ratio);
    const QImage art = DrawSvg(svg, target.ratio, size);
    if (art.isNull()) {
        result.error = QStringLiteral("not a usable SVG picture");
        return result;
    }

    const QRgb key = target.key.rgb();
    const QRgb under = target.under.rgb();
    QImage out(size, target.drawable ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888);
    for (int y = 0; y < size.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(art.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const QRgb p = src[x];
            const bool hole = target.transparent && qAlpha(p) < 128;
            QRgb c = key;
            if (!hole) c = AvoidKey(qAlpha(p) == 255 ? p : Blend(p, under), key, target.transparent);
            if (target.drawable) {
                reinterpret_cast<QRgb*>(dst)[x] = hole ? 0u : c;
            } else {  // red, green, blue
                dst[3 * x] = static_cast<uchar>(qRed(c));
                dst[3 * x + 1] = static_cast<uchar>(qGreen(c));
                dst[3 * x + 2] = static_cast<uchar>(qBlue(c));
            }
        }
    }
    if (target.transparent) {
        const int bottom = size.height() - 1;
        if (qAlpha(art.pixel(0, bottom)) >= 128) {
            result.warning = QStringLiteral("the art covers the lower-left pixel; it is forced to the key colour");
        }
        out.setPixel(0, bottom, target.drawable ? 0u : key);
    }
    if (target.drawable) out.setDevicePixelRatio(target.ratio);
    result.image = out;
    return result;
}

}  // namespace pellox
