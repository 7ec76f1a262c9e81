#include "base/ini_lines.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellox {
namespace {

// The two ways the game reads INI text: a skin file (any line end, every
// control byte trimmed, ";" comments, anything in a header's brackets) and
// the scores file as Qt's settings write it (LF, space tab and CR trimmed,
// ";" and "#" comments, no bracket inside a header).
bool SkinSpace(unsigned char byte) { return byte <= 0x20 || byte == 0x7F; }
bool SettingsSpace(unsigned char byte) { return byte == ' ' || byte == '\t' || byte == '\r'; }
const IniDialect kSkin{.cr_ends_line = true, .is_trimmed = SkinSpace, .comment_marks = ";",
                       .brackets_inside_header = true};
const IniDialect kScores{.cr_ends_line = false, .is_trimmed = SettingsSpace, .comment_marks = ";#",
                         .brackets_inside_header = false};

// A line read back in a few letters: B blank, C comment, S[name], E key=value
// with its parts in brackets, O other; then its ending.
std::string Described(const IniLine& line) {
    // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on "[" + std::string.
    std::string out;
    switch (line.kind) {
        case IniLineKind::Blank: out = "B"; break;
        case IniLineKind::Comment: out = "C"; break;
        case IniLineKind::Section: out.append("S[").append(line.section).append("]"); break;
        case IniLineKind::Entry:
            out.append("E[").append(line.key).append("][").append(line.value).append("]");
            break;
        case IniLineKind::Other: out = "O"; break;
    }
    for (char c : line.ending) out += c == '\r' ? "\\r" : "\\n";
    return out;
}

std::vector<IniLine> AllLines(std::string_view text, const IniDialect& dialect) {
    std::vector<IniLine> lines;
    IniLineReader reader(text, dialect);
    while (std::optional<IniLine> line = reader.Next()) lines.push_back(*line);
    return lines;
}

std::vector<std::string> Read(std::string_view text, const IniDialect& dialect) {
    std::vector<std::string> lines;
    for (const IniLine& line : AllLines(text, dialect)) lines.push_back(Described(line));
    return lines;
}

TEST(IniLines, EachLineIsToldApartByItsDialect) {
    struct Case {
        const char* what;
        std::string text;
        const IniDialect& dialect;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"nothing", "", kSkin, {}},
        {"a last line end starts no empty line", "[A]\n", kSkin, {"S[A]\\n"}},
        {"CR, LF and CR LF each end one line", "a=1\rb=2\nc=3\r\n\r\nd", kSkin,
         {"E[a][1]\\r", "E[b][2]\\n", "E[c][3]\\r\\n", "B\\r\\n", "O"}},
        {"only LF ends a scores line, its CR trimmed", "a=1\r\nb=2\rc=3\n", kScores, {"E[a][1]\\n", "E[b][2\rc=3]\\n"}},
        {"spaces around = and the name", "  key \t=\t value  \n[ Sec ]\n", kSkin, {"E[key][value]\\n", "S[Sec]\\n"}},
        {"the first = splits, an empty key or value stays", "a=b=c\n=x\nk=\n", kSkin,
         {"E[a][b=c]\\n", "E[][x]\\n", "E[k][]\\n"}},
        {"comments", "; a=1\n#b=2\n  ;[S]\n", kSkin, {"C\\n", "E[#b][2]\\n", "C\\n"}},
        {"comments in the scores file", "; a=1\n#b=2\n", kScores, {"C\\n", "C\\n"}},
        {"control bytes and DEL trimmed from skin lines", "\x7F[S]\x01\n\x0B" "a=1\x7F\n", kSkin,
         {"S[S]\\n", "E[a][1]\\n"}},
        {"but not from scores lines", "\x01[S]\n", kScores, {"O\\n"}},
        {"brackets inside a skin header", "[a]b]\n[]\n[\n", kSkin, {"S[a]b]\\n", "S[]\\n", "O\\n"}},
        {"none inside a scores header", "[a]b]\n[a=1]\n", kScores, {"O\\n", "S[a=1]\\n"}},
        {"bytes that are not text stay as they are", "[\xC2\xEE\xEB\xEA]\n\xFF=\xFE\x80\n", kSkin,
         {"S[\xC2\xEE\xEB\xEA]\\n", "E[\xFF][\xFE\x80]\\n"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.text, c.dialect), c.lines) << c.what;
}

TEST(IniLines, ALineKeepsItsBytesAndAVeryLongOneIsOneLine) {
    const std::string long_value(1 << 20, 'x');
    const std::string text = " k = " + long_value + " \r\nnext";
    const std::vector<IniLine> lines = AllLines(text, kSkin);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].raw, " k = " + long_value + " ");
    EXPECT_EQ(lines[0].text, "k = " + long_value);
    EXPECT_EQ(lines[0].value.size(), long_value.size());
    std::string joined;
    for (const IniLine& line : lines) joined += std::string(line.raw) + std::string(line.ending);
    EXPECT_EQ(joined, text);
}

}  // namespace
}  // namespace pellox
