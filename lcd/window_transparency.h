#pragma once
// How the game window's purple becomes see-through on each window system.
// X11 cuts it out of the window with a shape, compositor or not. Wayland has
// no window shapes: there the window gets an alpha channel, purple is painted
// fully transparent, and the same mask becomes the window's input region, so
// that clicks on the purple still reach whatever lies beneath.

#include <QImage>
#include <QRect>
#include <QString>

namespace pellox {

enum class SeeThroughBy {
    ShapeMask,  // the mask shapes the window; the picture is drawn as it is
    Alpha,      // the picture's purple is transparent; the mask only takes input
};

// The way for a Qt platform plugin, by its name (QGuiApplication::platformName()).
SeeThroughBy SeeThroughFor(const QString& platform_name);

// The way for the platform this program runs on.
SeeThroughBy SeeThroughOnThisPlatform();

// A copy of frame's area (clipped to the frame) with every purple pixel fully
// transparent and every other pixel opaque, as it is.
QImage PurpleKeyedOut(const QImage& frame, const QRect& area);

}  // namespace pellox
