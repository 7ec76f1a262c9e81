// Names and titles from outside printed by the skin commands: a control
// character (ESC and what follows it) is shown, never sent to the terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "skincommands/skin_check.h"
#include "skincommands/skin_install.h"
#include "skincommands/skin_list.h"
#include "skincommands/terminal_text.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

struct Shown {
    std::string text;
    std::string shown;
};

class TerminalSafeText : public testing::TestWithParam<Shown> {};

TEST_P(TerminalSafeText, ShowsControlsEscapedAndLettersAsTheyAre) {
    EXPECT_EQ(TerminalSafe(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TerminalSafeText,
    testing::Values(Shown{"Волк & Заяц", "Волк & Заяц"},
                    Shown{"\x1B]0;title\x07", "\\x1B]0;title\\x07"},
                    Shown{"a\nb\tc\rd\x7F", "a\\nb\\tc\\x0Dd\\x7F"},
                    Shown{"\xC2\x9B" "31m", "\\x9B" "31m"},          // CSI as a C1 control in UTF-8
                    Shown{"\x9B" "31m", "\\x9B" "31m"},              // and as a lone byte
                    Shown{"\xC2\xEE\xEB\xEA", "\\xC2\\xEE\\xEB\\xEA"},  // Windows-1251, not UTF-8
                    Shown{"evil\u202Egnp.exe", "evil\\u{202E}gnp.exe"}));

bool HasRawControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\n') || byte == 0x7F;
    });
}

// One skin named and titled with escape sequences, through each command.
TEST(SkinCommandsTerminal, EveryCommandShowsAHostileNameAndTitleEscaped) {
    TempFolder folder;
    const std::string hostile = "\x1B[2J\x1B]0;owned\x07";
    const std::filesystem::path ini =
        folder.Write("start/" + hostile + "/skin.ini",
                     "[SETTINGS]\r\nver=1.6\r\ntitle=" + hostile + "\r\ntitleGB=" + hostile + "\r\n");
    const std::string escaped = "\\x1B[2J\\x1B]0;owned\\x07";

    std::ostringstream check;
    CheckSkinCommand(ini, check);
    std::ostringstream list;
    ListSkinsCommand({folder.path() / "start"}, folder.path() / "skins", list);
    std::ostringstream install;
    std::ostringstream install_err;
    InstallSkinCommand(ini.parent_path(), folder.path() / "skins", install, install_err);
    std::ostringstream refused;
    InstallSkinCommand(folder.Write(hostile + ".zip", "no zip"), folder.path() / "skins", refused, refused);

    for (const auto& [command, said] : {std::pair{"--check-skin", check.str()}, {"--list-skins", list.str()},
                                        {"--install-skin", install.str() + install_err.str()},
                                        {"--install-skin refused", refused.str()}}) {
        EXPECT_FALSE(HasRawControl(said)) << command << ":\n" << said;
        EXPECT_NE(said.find(escaped), std::string::npos) << command << ":\n" << said;
    }
}

}  // namespace
}  // namespace pellox
