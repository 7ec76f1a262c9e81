#include "lcd/window_mask.h"

#include <QBitmap>

namespace pellox {

QRegion OpaqueRegion(const QImage& frame, const QRect& area) {
    const QRect clipped = area & frame.rect();
    if (clipped.isEmpty()) return {};
    const QImage part = frame.copy(clipped).convertToFormat(QImage::Format_RGB32);
    // MaskInColor marks the purple pixels; the bitmap's region is then everything else.
    const QImage holes = part.createMaskFromColor(qRgb(128, 0, 128), Qt::MaskInColor);
    QRegion region(QBitmap::fromImage(holes));
    region.translate(clipped.topLeft());
    return region;
}

bool SameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

bool WindowMask::Update(const QImage& frame, const QRect& area) {
    const QRect clipped = area & frame.rect();
    if (clipped.isEmpty()) return false;
    const QRegion fresh = OpaqueRegion(frame, clipped);
    const QRegion old = region_.intersected(clipped);
    if (SameArea(fresh, old)) return false;
    region_ = region_.subtracted(QRegion(clipped)).united(fresh);
    return true;
}

}  // namespace pellox
