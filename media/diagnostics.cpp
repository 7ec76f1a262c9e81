#include "media/diagnostics.h"

#include <cstdio>
#include <string>

namespace pellox {

Q_LOGGING_CATEGORY(lcSound, "pellox.sound")
Q_LOGGING_CATEGORY(lcSkin, "pellox.skin")
Q_LOGGING_CATEGORY(lcGame, "pellox.game")
// A player without gamepads hears nothing of them.
Q_LOGGING_CATEGORY(lcGamepad, "pellox.gamepad", QtCriticalMsg)

void Tell(const QLoggingCategory& (*category)(), std::string_view message) {
    if (!category().isWarningEnabled()) return;
    // Qt's own handler would put the category's name before the text; the
    // player sees the program's name, as every command-line program writes it.
    const std::string line = "pellox: " + std::string(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace pellox
