#pragma once
// Where a window opens: on the screen under the pointer (the primary screen
// when the pointer is on none), at its given offset from the top-left corner
// of that screen's available area (the screen less its panels and docks) when
// the whole window fits there; otherwise moved just enough to lie whole on
// that area. A window larger than the area in one direction starts at the
// area's edge in that direction: its top-left corner and title bar stay on
// screen, and the player drags the rest into view. A window may name a part
// of itself to keep on the area instead, such as the buttons of the game's
// case, which has no title bar: the window then moves back just enough.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;
class QWidget;

namespace pellox {

// A screen as placement sees it, in the desktop's logical pixels (a screen of
// 1280 x 800 at scale 2 is 640 x 400 here).
struct ScreenArea {
    QRect geometry;   // the whole screen
    QRect available;  // without panels and docks; empty when the system gives none
};

// The top-left corner of a window frame of frame_size given offset from the
// top-left of the area's available part. keep, in the frame's own
// coordinates, is what stays on the area where the window is larger than it;
// empty: the top-left corner. An empty available part (a broken work area)
// counts as the whole screen.
QPoint PlacedTopLeft(const ScreenArea& screen, QSize frame_size, QPoint offset, const QRect& keep = {});

// The screen under the pointer, or the primary screen when the pointer is on
// none. Null only without any screen.
QScreen* ScreenUnderPointer();

// The frame the window system draws around a window: what its handle reports
// once known, nothing for a frameless window, and the style's frame of a
// subwindow (its title bar and borders) for a framed window whose frame the
// window manager has not told yet (X11 tells it only once the window is mapped).
QMargins ExpectedFrameMargins(const QWidget& window);

// Moves a top-level window, before it shows, to its place on the screen under
// the pointer (see above); keep is in the window's own (client) coordinates.
// Window systems that place windows themselves (Wayland) ignore the move.
void PlaceOnScreenUnderPointer(QWidget& window, QPoint offset, const QRect& keep = {});

}  // namespace pellox
