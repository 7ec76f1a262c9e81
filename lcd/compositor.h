#pragma once
// Draws the LCD: the window's purple, then every lit sprite in its fixed
// order, each picture at natural size from its box's corner and cut at the box.

#include <QImage>
#include <QRect>

#include "lcd/picture_set.h"
#include "lcd/sprite_model.h"

class QPainter;

namespace pellox {

inline constexpr QRgb kWindowPurple = 0xff800080u;

QRect ToQRect(const Bounds& b);

class Compositor {
public:
    Compositor(const SpriteModel& model, const PictureSet& pictures)
        : model_(model), pictures_(pictures) {}

    // Paints the part of the window inside area.
    void Paint(QPainter& painter, const QRect& area) const;

    // A whole new frame of the given size.
    QImage Compose(const QSize& size) const;

    // Repaints area of an existing frame in place.
    void Recompose(QImage& frame, const QRect& area) const;

private:
    const SpriteModel& model_;
    const PictureSet& pictures_;
};

}  // namespace pellox
