#pragma once
// A window of one size only: the start screen and the game window. Their
// hints offer no maximise and X11's window managers heed that; Qt 6.4's own
// Wayland title bar (bradient) draws a maximise button all the same, and a
// compositor's shortcut may maximise any window. A fixed-size window then
// only jumps to a corner of the screen: the request is turned back instead.

#include <QWidget>

namespace pellox {

// From now on, a maximised or full-screen state that reaches window is
// dropped at once: it keeps its size and its place.
void RefuseMaximise(QWidget& window);

}  // namespace pellox
