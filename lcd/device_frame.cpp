#include "lcd/device_frame.h"

#include <cmath>

#include <QPainter>


namespace pellox {

QImage SeeThroughCleared(const QImage& frame, const QRect& area) {
    QImage part = frame.copy(area).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x) {
            if ((line[x] | 0xff000000u) == kWindowPurple) line[x] = 0u;
        }
    }
    return part;
}

void DeviceFrame::Rebuild(const QImage& logical) {
    sharp_ = QImage();
    screen_ = QImage();
    const qreal ratio = pictures_.Ratio();
    const int factor = pictures_.Factor();
    if (ratio <= 1.0 || logical.isNull()) return;
    sharp_ = QImage(logical.size() * factor, QImage::Format_ARGB32_Premultiplied);
    sharp_.setDevicePixelRatio(factor);
    if (ratio != factor) {
        const QSize device(static_cast<int>(std::ceil(logical.width() * ratio)),
                           static_cast<int>(std::ceil(logical.height() * ratio)));
        screen_ = QImage(device, QImage::Format_ARGB32_Premultiplied);
        screen_.setDevicePixelRatio(ratio);
    }
    Update(logical, logical.rect());
}

void DeviceFrame::Update(const QImage& logical, const QRect& area) {
    if (!Active()) return;
    const QRect clipped = area & logical.rect();
    if (clipped.isEmpty()) return;
    {
        QPainter painter(&sharp_);
        painter.setClipRect(clipped);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // Enlarged without smoothing: no render hint.
        painter.drawImage(clipped.topLeft(), SeeThroughCleared(logical, clipped));
        compositor_.PaintSprites(painter, clipped, PictureResolution::Sharp);
    }
    if (!screen_.isNull()) ScaleToScreen(clipped);
}

void DeviceFrame::ScaleToScreen(const QRect& area) {
    const qreal ratio = screen_.devicePixelRatio();
    // The device pixels that area reaches, and a margin for the filter's reach.
    const QRect device = QRect(QPoint(static_cast<int>(std::floor(area.left() * ratio)) - 2,
                                      static_cast<int>(std::floor(area.top() * ratio)) - 2),
                               QPoint(static_cast<int>(std::ceil((area.right() + 1) * ratio)) + 1,
                                      static_cast<int>(std::ceil((area.bottom() + 1) * ratio)) + 1)) &
                         screen_.rect();
    if (device.isEmpty()) return;
    // Painted in device pixels through a view of the same memory.
    QImage view(screen_.bits(), screen_.width(), screen_.height(), screen_.bytesPerLine(), screen_.format());
    {
        QPainter painter(&view);
        painter.setClipRect(device);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(ratio, ratio);
        painter.drawImage(QPointF(0, 0), sharp_);
    }
    // A pixel the outline cuts is partly transparent now: it takes the colour
    // of the drawn pixels it came from, at full strength.
    for (int y = device.top(); y <= device.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(view.scanLine(y));
        for (int x = device.left(); x <= device.right(); ++x) {
            const QRgb p = line[x];
            if (qAlpha(p) != 0 && qAlpha(p) != 255) line[x] = qUnpremultiply(p) | 0xff000000u;
        }
    }
}

void DeviceFrame::Paint(QPainter& painter) const {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), Screen());
    painter.restore();
}

}  // namespace pellox
