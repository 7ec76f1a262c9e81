#pragma once
// What the game tells on standard error, one way for all of it: a line
// "pellox: <message>" under a Qt logging category, so that a player or a
// tester can silence a topic (QT_LOGGING_RULES="pellox.sound.warning=false").
// A normal run tells nothing, or the one line that there is no sound output.

#include <string_view>

#include <QLoggingCategory>

namespace pellox {

Q_DECLARE_LOGGING_CATEGORY(lcSound)  // pellox.sound: the sound output found, lost, back
Q_DECLARE_LOGGING_CATEGORY(lcSkin)   // pellox.skin: a skin's entries that failed to load
Q_DECLARE_LOGGING_CATEGORY(lcGame)   // pellox.game: the game window, its pictures, errors with no window
// pellox.gamepad: SDL not started, controllers plugged in and out. Silent
// unless asked for (QT_LOGGING_RULES="pellox.gamepad.warning=true").
Q_DECLARE_LOGGING_CATEGORY(lcGamepad)

// Writes "pellox: <message>" and a line end to standard error in one piece,
// when the category's warnings are on (they are unless a rule turns them off).
void Tell(const QLoggingCategory& (*category)(), std::string_view message);

}  // namespace pellox
