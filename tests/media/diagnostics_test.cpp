// What the game tells on standard error: one line under the program's name,
// unless a logging rule turns the topic off.
#include "media/diagnostics.h"

#include <gtest/gtest.h>

#include <string>

namespace pellox {
namespace {

TEST(Tell, WritesOneLineUnlessARuleTurnsItsTopicOff) {
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
    };
    for (const Case& c : cases) {
        QLoggingCategory::setFilterRules(QString::fromLatin1(c.rules));
        testing::internal::CaptureStderr();
        Tell(c.category, "no sound output found");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said) << c.rules;
    }
    QLoggingCategory::setFilterRules(QString());
}

}  // namespace
}  // namespace pellox
