#pragma once
// Draws the LCD: the window's purple, then every lit sprite in its fixed
// order, each picture at natural size from its box's corner and cut at the box.

#include <QImage>
#include <QRect>

#include "lcd/picture_set.h"
#include "lcd/core/sprite_model.h"

class QPainter;

namespace pellox {

inline constexpr QRgb kWindowPurple = 0xff800080u;

QRect ToQRect(const Bounds& b);

// Which of the picture set's pictures to draw: one pixel per game pixel, or
// the sharp ones made for the screen's device pixel ratio.
enum class PictureResolution { GamePixels, Sharp };

class Compositor {
public:
    Compositor(const SpriteModel& model, const PictureSet& pictures)
        : model_(model), pictures_(pictures) {}

    // Paints the part of the window inside area.
    void Paint(QPainter& painter, const QRect& area) const;

    // Draws the lit sprites inside area over what the painter holds, in game
    // pixels whatever the painter's device (a sharp picture carries its ratio).
    void PaintSprites(QPainter& painter, const QRect& area, PictureResolution resolution) const;

    // A whole new frame of the given size.
    QImage Compose(const QSize& size) const;

    // Repaints area of an existing frame in place.
    void Recompose(QImage& frame, const QRect& area) const;

private:
    const SpriteModel& model_;
    const PictureSet& pictures_;
};

}  // namespace pellox
