// A skin installed again: the same files, or the same title with others.
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include <gtest/gtest.h>

#include "skininstall/install_skins.h"
#include "skininstall/installed_twins.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

TEST(InstalledTwins, TwoFoldersHoldTheSameFilesOnlyByteForByte) {
    TempFolder a;
    a.Write("skin.ini", "[SETTINGS]\nver=1.6\ntitle=X\n");
    a.Write("pics/hare.bmp", "BMxx");
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> change;
        bool same;
    } cases[] = {
        {"nothing", [](const TempFolder&) {}, true},
        {"a byte", [](const TempFolder& b) { b.Write("pics/hare.bmp", "BMxy"); }, false},
        {"a file more", [](const TempFolder& b) { b.Write("pics/bell.bmp", "BM"); }, false},
        {"a name's case", [](const TempFolder& b) { fs::rename(b.path() / "pics/hare.bmp", b.path() / "pics/Hare.bmp"); }, false},
        {"a link in place of a file",
         [&](const TempFolder& b) {
             fs::remove(b.path() / "pics/hare.bmp");
             fs::create_symlink(a.path() / "pics/hare.bmp", b.path() / "pics/hare.bmp");
         },
         false},
    };
    for (const Case& c : cases) {
        TempFolder b;
        fs::copy(a.path(), b.path(), fs::copy_options::recursive);
        c.change(b);
        EXPECT_EQ(SameFiles(a.path(), b.path()), c.same) << c.what;
    }
}

TEST(InstalledTwins, TitlesGetTheSuffixAndEveryOtherByteStays) {
    struct Case {
        std::string text;
        std::string want;
    } cases[] = {
        {"[SETTINGS]\r\nver=1.6\r\ntitle = Ночь\r\ntitleGB=Night\r\n[BACK]\r\ntitle=not a setting\r\n",
         "[SETTINGS]\r\nver=1.6\r\ntitle =Ночь (2)\r\ntitleGB=Night (2)\r\n[BACK]\r\ntitle=not a setting\r\n"},
        // Only the last [SETTINGS] counts, and within it the last title.
        {"[settings]\ntitle=A\n[SETTINGS]\ntitle=B\ntitle=C", "[settings]\ntitle=A\n[SETTINGS]\ntitle=B\ntitle=C (2)"},
        // No English title, or the marker that means none: the English menu shows the title.
        {"[SETTINGS]\ntitle=A\ntitleGB=Tis not a title, but a test.!\n",
         "[SETTINGS]\ntitle=A (2)\ntitleGB=Tis not a title, but a test.!\n"},
        // Behind a byte-order mark, as the game reads it; the mark stays.
        {"\xEF\xBB\xBF[SETTINGS]\r\ntitle=A\r\n", "\xEF\xBB\xBF[SETTINGS]\r\ntitle=A (2)\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(WithTitlesSuffixed(c.text, " (2)"), c.want) << c.text;
}

class ReinstallTest : public ::testing::Test {
protected:
    TempFolder source, skins;
    void Write(const std::string& picture) {
        source.Write("Night/night.ini", "[SETTINGS]\nver=1.6\ntitle=Ночь\ntitleGB=Night\n[BACK]\nground=0,0,1,1,bg.bmp\n");
        source.Write("Night/bg.bmp", picture);
    }
    std::vector<std::string> Installed() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(skins.path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ReinstallTest, TheSameSkinTwiceIsAlreadyInstalledAndNotCopied) {
    Write("BM1");
    ASSERT_EQ(InstallSkins(source.path() / "Night", skins.path()).installed.size(), 1u);
    const SkinInstallResult again = InstallSkins(source.path() / "Night", skins.path());
    EXPECT_TRUE(again.installed.empty());
    ASSERT_EQ(again.already_installed.size(), 1u);
    EXPECT_EQ(again.already_installed[0].folder, skins.path() / "Night");
    EXPECT_EQ(again.already_installed[0].title_gb, "Night");
    EXPECT_TRUE(again.error.empty());
    EXPECT_EQ(Installed(), (std::vector<std::string>{"Night"}));
}

TEST_F(ReinstallTest, TheSameTitleWithOtherFilesIsKeptBesideOrReplacesIt) {
    Write("BM1");
    ASSERT_EQ(InstallSkins(source.path() / "Night", skins.path()).installed.size(), 1u);
    Write("BM2");
    const SkinInstallResult beside = InstallSkins(source.path() / "Night", skins.path(), {}, SameTitleChoice::KeepBoth);
    ASSERT_EQ(beside.installed.size(), 1u);
    EXPECT_EQ(beside.installed[0].folder, skins.path() / "Night (2)");
    EXPECT_EQ(beside.installed[0].title_su, "Ночь (2)");
    EXPECT_EQ(beside.installed[0].title_gb, "Night (2)");
    EXPECT_EQ(Installed(), (std::vector<std::string>{"Night", "Night (2)"}));
    ASSERT_FALSE(beside.notes.empty());
    EXPECT_NE(beside.notes.back().find("(2)"), std::string::npos) << beside.notes.back();

    Write("BM3");
    const SkinInstallResult ask = InstallSkins(source.path() / "Night", skins.path(), {}, SameTitleChoice::Ask);
    EXPECT_TRUE(ask.installed.empty());
    EXPECT_EQ(ask.to_choose.size(), 1u);
    EXPECT_EQ(Installed(), (std::vector<std::string>{"Night", "Night (2)"}));

    const SkinInstallResult replaced = InstallSkins(source.path() / "Night", skins.path(), {}, SameTitleChoice::Replace);
    ASSERT_EQ(replaced.installed.size(), 1u);
    EXPECT_EQ(replaced.installed[0].folder, skins.path() / "Night");
    EXPECT_EQ(replaced.installed[0].title_su, "Ночь");
    EXPECT_EQ(Installed(), (std::vector<std::string>{"Night", "Night (2)"}));
    std::ifstream picture(skins.path() / "Night/bg.bmp");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(picture), {}), "BM3");
}

}  // namespace
}  // namespace pellox
