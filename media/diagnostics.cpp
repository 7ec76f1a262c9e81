#include "media/diagnostics.h"

#include <QtGlobal>

namespace pellox {

Q_LOGGING_CATEGORY(lcSound, "pellox.sound")
Q_LOGGING_CATEGORY(lcSkin, "pellox.skin")
Q_LOGGING_CATEGORY(lcGame, "pellox.game")
// A player without gamepads hears nothing of them.
Q_LOGGING_CATEGORY(lcGamepad, "pellox.gamepad", QtCriticalMsg)

void UsePelloxMessagePattern() {
    // Qt's default would put the category's name first; the player sees the
    // program's name. The category still decides whether the line is written.
    qSetMessagePattern(QStringLiteral("pellox: %{message}"));
}

}  // namespace pellox
