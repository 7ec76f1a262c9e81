// Which files are usable skins, by ver and title.
#include "skin/skin_probe.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

TEST(SkinVersion, ComparedByteByByteNotAsANumber) {
    for (const char* ver : {"1.6", "1.60", "1.7", "1.8", "2", "10", "1.6beta",
                            "\xD0\x92"}) {  // above 127 counts high, not negative
        EXPECT_TRUE(IsSkinVersionSupported(ver)) << ver;
    }
    for (const char* ver : {"1.5", "1.10", "1", "1.", "0.9", "", " 2"}) {
        EXPECT_FALSE(IsSkinVersionSupported(ver)) << '"' << ver << '"';
    }
    // Byte-wise "absent" is newer than "1.6"; it is refused by name.
    EXPECT_FALSE(IsSkinVersionSupported("absent"));
}

struct ProbeCase {
    const char* name;
    std::string text;
    bool usable;
    std::string title_su;
    std::string english;
};

void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

class ProbeSkinText : public testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeSkinText, JudgesVerAndTitle) {
    const ProbeCase& c = GetParam();
    const SkinProbe probe = ProbeSkin(SkinFile::FromText(c.text));
    EXPECT_EQ(probe.usable, c.usable);
    if (c.usable) {
        EXPECT_EQ(probe.TitleSU, c.title_su);
        EXPECT_EQ(probe.EnglishTitle(), c.english);
    }
}

const std::string kMarker(NoTitleMarker);

INSTANTIATE_TEST_SUITE_P(
    Files, ProbeSkinText,
    testing::Values(
        ProbeCase{"BothTitles", "[SETTINGS]\nver=1.6\ntitle=Volk\ntitleGB=Wolf\n", true, "Volk", "Wolf"},
        ProbeCase{"NoEnglishTitle", "[SETTINGS]\nver=2\ntitle=Volk\n", true, "Volk", "Volk"},
        ProbeCase{"EnglishTitleIsTheMarker", "[SETTINGS]\nver=2\ntitle=Volk\ntitleGB=" + kMarker, true,
                  "Volk", "Volk"},
        ProbeCase{"SmallSectionCapitalKeys", "[settings]\n VER = 1.7 \n TITLE  =  \xC2\xEE\xEB\xEA  \n", true,
                  "\xC2\xEE\xEB\xEA", "\xC2\xEE\xEB\xEA"},
        // An empty title is a title: only a missing one (or the marker) is not.
        ProbeCase{"EmptyTitle", "[SETTINGS]\nver=1.6\ntitle=\n", true, "", ""},
        ProbeCase{"NoVer", "[SETTINGS]\ntitle=Volk\n", false, "", ""},
        ProbeCase{"OldVer", "[SETTINGS]\nver=1.10\ntitle=Volk\n", false, "", ""},
        ProbeCase{"NoTitle", "[SETTINGS]\nver=1.6\ntitleGB=Wolf\n", false, "", ""},
        ProbeCase{"TitleIsTheMarker", "[SETTINGS]\nver=1.6\ntitle=" + kMarker + "\ntitleGB=Wolf\n", false,
                  "", ""},
        ProbeCase{"TitleInAnEarlierSettings", "[SETTINGS]\nver=1.6\ntitle=Volk\n[SETTINGS]\nver=1.6\n",
                  false, "", ""},
        ProbeCase{"TitleInAnotherSection", "[SETTINGS]\nver=1.6\n[BACK]\ntitle=Volk\n", false, "", ""}),
    [](const testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

TEST(ProbeSkinPath, ReadsTheFileAndRefusesWhatIsNoFile) {
    TempFolder temp;
    const SkinProbe probe =
        ProbeSkin(temp.Write("wolf.ini", "; made by hand\r\n[SETTINGS]\r\nver=1.6\r\ntitle=Volk\r\n"));
    EXPECT_TRUE(probe.usable);
    EXPECT_EQ(probe.TitleSU, "Volk");
    EXPECT_EQ(probe.TitleGB, NoTitleMarker);

    EXPECT_FALSE(ProbeSkin(temp.path() / "missing.ini").usable);
    EXPECT_FALSE(ProbeSkin(temp.Folder("folder.ini")).usable);
}

}  // namespace
}  // namespace pellox
