// What the game tells on standard error: one line under the program's name,
// unless a logging rule turns the topic off; a pattern the user set wins.
#include "media/diagnostics.h"

#include <gtest/gtest.h>

#include <string>

#include <QtGlobal>

namespace pellox {
namespace {

TEST(Diagnostics, OneLineUnderTheProgramsNameUnlessARuleTurnsItsTopicOff) {
    UsePelloxMessagePattern();
    struct Case {
        const char* rules;
        const QLoggingCategory& (*category)();
        std::string said;
    };
    const Case cases[] = {
        {"", lcSound, "pellox: no sound output found\n"},
        {"pellox.sound.warning=false", lcSound, ""},
        {"pellox.sound.warning=false", lcSkin, "pellox: no sound output found\n"},  // another topic
        {"pellox.*=false", lcGame, ""},
        // Gamepads are told only when asked for.
        {"", lcGamepad, ""},
        {"pellox.gamepad.warning=true", lcGamepad, "pellox: no sound output found\n"},
    };
    for (const Case& c : cases) {
        QLoggingCategory::setFilterRules(QString::fromLatin1(c.rules));
        testing::internal::CaptureStderr();
        qCWarning(c.category) << "no sound output found";
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said) << c.rules;
    }
    QLoggingCategory::setFilterRules(QString());
}

}  // namespace
}  // namespace pellox
