#include "raster/icon_raster.h"

#include <QPainter>
#include <QSvgRenderer>

namespace pellox {

QImage RasterizeIcon(const QByteArray& svg, int side) {
    if (side <= 0) return {};
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return icon;
}

}  // namespace pellox
