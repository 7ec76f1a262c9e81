#include "raster/icon_raster.h"

#include "raster/svg_drawing.h"

namespace pellox {

QImage RasterizeIcon(const QByteArray& svg, int side) {
    if (side <= 0 || !SvgViewBoxSize(svg)) return {};
    return DrawSvg(svg, {side, side});
}

}  // namespace pellox
