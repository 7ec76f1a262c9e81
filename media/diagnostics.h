#pragma once
// What the game tells on standard error, one way for all of it: Qt's own
// logging (qCWarning) under one of the categories below, so that a player or
// a tester can silence a topic (QT_LOGGING_RULES="pellox.sound.warning=false"),
// each message one line "pellox: <message>" once the program has set its
// pattern (UsePelloxMessagePattern). A normal run tells nothing, or the one
// line that there is no sound output.
//
// What a command prints (--check-skin's report, --help, a mistake on the
// command line, the line that there is no display) is that command's output,
// not a diagnostic: it is written to the command's streams as it stands.

#include <QLoggingCategory>

namespace pellox {

Q_DECLARE_LOGGING_CATEGORY(lcSound)  // pellox.sound: the sound output found, lost, back
Q_DECLARE_LOGGING_CATEGORY(lcSkin)   // pellox.skin: a skin that failed to load, or cannot be used
Q_DECLARE_LOGGING_CATEGORY(lcGame)   // pellox.game: the game window, its pictures, errors with no window
// pellox.gamepad: SDL not started, controllers plugged in and out. Silent
// unless asked for (QT_LOGGING_RULES="pellox.gamepad.warning=true").
Q_DECLARE_LOGGING_CATEGORY(lcGamepad)

// Makes every message Qt writes for the process, the game's and Qt's own,
// one line "pellox: <message>", as command-line programs name themselves.
// Called once where the program starts (and by tests that read what it
// tells); a QT_MESSAGE_PATTERN the user set wins, as Qt has it.
void UsePelloxMessagePattern();

}  // namespace pellox
