#pragma once
// A desktop scale that leaves no window of the game half off the screen.
// Qt draws every window at the scale the desktop asks; at scale 2 a screen
// of 1024 x 600 has room for 512 x 300 of the game's pixels, and the start
// screen's menu and start button, or the game window's left half, would lie
// off it. The pictures are drawn from their SVG sources, so any scale is
// sharp: the game then takes the largest scale at which both windows fit.

#include <memory>
#include <vector>

#include <QApplication>
#include <QSizeF>

namespace pellox {

// The start screen with room for the window manager's title bar and border,
// and the built-in game window: the windows that must fit whole.
std::vector<QSizeF> WindowsToFit();

// The factor, at most 1, by which the scale that gave available (a screen's
// available area in logical pixels) must be multiplied so that every window
// fits in it; 1 when they fit already.
double FittingScaleFactor(const QSizeF& available, const std::vector<QSizeF>& windows);

// Makes the application. When the screen under the pointer (at start, where
// the windows open) is too small for WindowsToFit at the desktop's scale,
// makes it again at the largest scale at which they fit, through Qt's own
// QT_SCALE_FACTOR. A QT_SCALE_FACTOR the player set is left as it is.
// argc and argv must outlive the application, as for QApplication itself.
std::unique_ptr<QApplication> MakeApplicationThatFits(int& argc, char** argv);

}  // namespace pellox
