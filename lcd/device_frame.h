#pragma once
// The game window's frame in the screen's own pixels, for a device pixel ratio
// above 1. The frame in game pixels (TMForm::Frame) still decides the window
// mask and the hit tests; this one is only what is painted.
//
// It is composed at the pictures' whole factor from the sharp pictures, whose
// see-through pixels are already cleared, over the game-pixel frame enlarged
// without smoothing: every device pixel inside the mask is drawn even where a
// sharp edge runs a little inside the game-pixel outline, and no key colour
// is ever blended into a drawn pixel. A fractional ratio scales this frame
// down once, smoothly, and gives the pixels cut by the outline the colour of
// their drawn neighbours instead of what lay outside.

#include <QImage>
#include <QRect>

#include "lcd/compositor.h"
#include "lcd/picture_set.h"

class QPainter;

namespace pellox {

class DeviceFrame {
public:
    DeviceFrame(const Compositor& compositor, const PictureSet& pictures)
        : compositor_(compositor), pictures_(pictures) {}

    // A whole new frame at the picture set's ratio; logical is the frame in
    // game pixels (purple where see-through). Nothing at ratio 1.
    void Rebuild(const QImage& logical);

    // Composes area (game pixels) again after logical has been.
    void Update(const QImage& logical, const QRect& area);

    bool Active() const { return !sharp_.isNull(); }

    // Paints the window: one device pixel per frame pixel.
    void Paint(QPainter& painter) const;

    // The frame at the pictures' whole factor (transparent where see-through).
    const QImage& Sharp() const { return sharp_; }
    // What Paint draws: the sharp frame, or for a fractional ratio the sharp
    // frame scaled to it. Its device pixel ratio is the screen's.
    const QImage& Screen() const { return screen_.isNull() ? sharp_ : screen_; }

private:
    void ScaleToScreen(const QRect& area);

    const Compositor& compositor_;
    const PictureSet& pictures_;
    QImage sharp_;
    QImage screen_;  // only for a fractional ratio
};

// The part area of frame with its purple made transparent.
QImage SeeThroughCleared(const QImage& frame, const QRect& area);

}  // namespace pellox
