#include "lcd/device_ratio.h"

#include <algorithm>
#include <cmath>

namespace pellox {

int SharpFactor(qreal ratio) {
    // A hair of tolerance: a ratio of 2 computed as 2.0000001 is still 2.
    return std::max(1, static_cast<int>(std::ceil(ratio - 1e-6)));
}

int BitmapFactor(qreal ratio) { return std::max(1, static_cast<int>(std::lround(ratio))); }

QImage ScaleNearest(const QImage& picture, int factor) {
    if (picture.isNull() || factor <= 1) return picture;
    QImage out = picture.scaled(picture.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    out.setDevicePixelRatio(factor);
    return out;
}

}  // namespace pellox
