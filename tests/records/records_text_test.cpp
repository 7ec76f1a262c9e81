// Setting one value in the text of a scores file: the reader finds the new
// value, and every other line, the other variant's above all, is kept.
#include "records/records_text.h"

#include <gtest/gtest.h>

namespace pellox {
namespace {

TEST(RecordsTextTest, SettingAValueKeepsEveryOtherLineAndIsWhatTheReaderFinds) {
    struct Case {
        const char* what;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"no file yet", "", "[General]\nA=7\n"},
        {"the other value only", "[General]\nB=5\n", "[General]\nA=7\nB=5\n"},
        {"both values", "[General]\nA=1\nB=5\n", "[General]\nA=7\nB=5\n"},
        {"no final line end", "[General]\nB=5\nA=1", "[General]\nB=5\nA=7\n"},
        {"Windows line ends", "[General]\r\nA=1\r\nB=5\r\n", "[General]\r\nA=7\nB=5\r\n"},
        {"spaces around the name", "[General]\n A = 1\nB=5\n", "[General]\nA=7\nB=5\n"},
        {"a value that is no number", "[General]\nA=hello\nB=5\n", "[General]\nA=7\nB=5\n"},
        {"the name twice: the reader takes the last", "[General]\nA=1\nB=5\nA=2\n", "[General]\nA=1\nB=5\nA=7\n"},
        {"values before any section", "B=5\nA=1\n[Other]\nA=3\n", "B=5\nA=7\n[Other]\nA=3\n"},
        {"the name only in another section", "[Other]\nA=3\nB=5\n", "[General]\nA=7\n[Other]\nA=3\nB=5\n"},
        {"another section first", "[Other]\nX=1\n[General]\nB=5\n", "[Other]\nX=1\n[General]\nA=7\nB=5\n"},
        {"a name that only begins alike", "[General]\nAB=1\nB=5\n", "[General]\nA=7\nAB=1\nB=5\n"},
        {"comments and blank lines", "; scores\n\n[General]\n# A=9\nB=5\n", "; scores\n\n[General]\nA=7\n# A=9\nB=5\n"},
    };
    for (const Case& k : cases) {
        const std::string written = WithStoredValue(k.text, "A", 7);
        EXPECT_EQ(written, k.expected) << k.what;
        EXPECT_EQ(FindStoredValue(written, "A"), 7u) << k.what;
        EXPECT_EQ(FindStoredValue(written, "B"), FindStoredValue(k.text, "B")) << k.what;
    }
}

TEST(RecordsTextTest, UnreadableLinesAreFoundAndLeftOut) {
    const std::string text = "[General]\nA=1\n\"stray\n[broken\nB=5\n\x01\x02\n=no name\n; fine\n";
    EXPECT_TRUE(HasUnreadableLines(text));
    const std::string clean = WithoutUnreadableLines(text);
    EXPECT_EQ(clean, "[General]\nA=1\nB=5\n; fine\n");
    EXPECT_FALSE(HasUnreadableLines(clean));
}

}  // namespace
}  // namespace pellox
