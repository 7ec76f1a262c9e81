#include "lcd/compositor.h"

#include <QPainter>

namespace pellox {

QRect ToQRect(const Bounds& b) { return QRect(b.left, b.top, b.width, b.height); }

void Compositor::Paint(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(area, QColor::fromRgb(kWindowPurple));
    PaintSprites(painter, area, PictureResolution::GamePixels);
    painter.restore();
}

void Compositor::PaintSprites(QPainter& painter, const QRect& area, PictureResolution resolution) const {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        const SpriteState& sprite = model_.State(id);
        if (!sprite.visible) continue;
        const QRect box = ToQRect(sprite.bounds) & area;
        if (box.isEmpty()) continue;
        const QImage& picture =
            resolution == PictureResolution::Sharp ? pictures_.Sharp(id) : pictures_.Drawable(id);
        if (picture.isNull()) continue;
        painter.setClipRect(box);
        painter.drawImage(QPoint(sprite.bounds.left, sprite.bounds.top), picture);
    }
    painter.restore();
}

QImage Compositor::Compose(const QSize& size) const {
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    Recompose(frame, frame.rect());
    return frame;
}

void Compositor::Recompose(QImage& frame, const QRect& area) const {
    const QRect clipped = area & frame.rect();
    if (clipped.isEmpty()) return;
    QPainter painter(&frame);
    Paint(painter, clipped);
}

}  // namespace pellox
