#pragma once
// Whether the start screen has a window system to open on, asked before Qt
// is: a GUI application without one aborts the program with its own message.

#include <QStringList>

namespace pellox {

// True when every window system the application would try surely has no
// display: the -platform argument's, else QT_QPA_PLATFORM's, else X11's and
// Wayland's, when X11 has no DISPLAY (nor a -display argument) and Wayland
// neither WAYLAND_DISPLAY nor its default socket. Any other platform
// (offscreen, vnc, eglfs, ...) is left to Qt.
bool NoDisplayToOpen(const QStringList& arguments);

// The one line a player sees then.
inline constexpr const char* kNoDisplayMessage =
    "pellox: no display: set DISPLAY or WAYLAND_DISPLAY, or use --check-skin/--install-skin/--list-skins, which need "
    "none";

}  // namespace pellox
