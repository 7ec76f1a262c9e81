#include "raster/svg_drawing.h"

#include <QBuffer>
#include <QImageReader>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>

namespace pellox {
namespace {

// A fractional ratio is given to the plugin in thousandths.
constexpr int kRatioSteps = 1000;

QImage Read(QImageReader& reader) {
    QImage image = reader.read();
    if (image.isNull()) return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

std::optional<QSizeF> SvgViewBoxSize(const QByteArray& svg) {
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() != QLatin1String("svg")) return std::nullopt;
        const QXmlStreamAttributes attributes = xml.attributes();
        static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
        const QStringList box = attributes.value(QLatin1String("viewBox")).toString().trimmed().split(separators);
        bool w_ok = false, h_ok = false;
        if (box.size() == 4) {
            const QSizeF size(box[2].toDouble(&w_ok), box[3].toDouble(&h_ok));
            if (w_ok && h_ok && size.width() > 0 && size.height() > 0) return size;
        }
        const QSizeF size(attributes.value(QLatin1String("width")).toDouble(&w_ok),
                          attributes.value(QLatin1String("height")).toDouble(&h_ok));
        if (w_ok && h_ok && size.width() > 0 && size.height() > 0) return size;
        return std::nullopt;
    }
    return std::nullopt;
}

QImage DrawSvg(const QByteArray& svg, QSize size) {
    QByteArray bytes = svg;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(size);
    return Read(reader);
}

QImage DrawSvg(const QByteArray& svg, qreal ratio, QSize size) {
    QByteArray bytes = svg;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    const QSize document = reader.size();
    if (!document.isValid() || document.isEmpty()) return {};
    const int steps = static_cast<int>(std::lround(ratio * kRatioSteps));
    if (steps % kRatioSteps == 0) {
        reader.setScaledSize(document * (steps / kRatioSteps));
    } else {
        // The plugin scales only to whole sizes: the picture is scaled to a
        // thousand times its size at the ratio, as if cut from a thousand
        // times the document, and the image is the part the ratio covers.
        reader.setClipRect(QRect(QPoint(0, 0), document * kRatioSteps));
        reader.setScaledSize(document * steps);
    }
    reader.setScaledClipRect(QRect(QPoint(0, 0), size));
    return Read(reader);
}

}  // namespace pellox
