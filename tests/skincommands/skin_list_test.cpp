// `pellox --list-skins`: the menu and the folders, as a player reads them.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "skincommands/skin_list.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

class ListSkinsTest : public ::testing::Test {
protected:
    TempFolder folder;
    CurrentDirGuard in_start_folder{folder.Folder("start")};
    std::filesystem::path installed = folder.path() / "data" / "pellox" / "skins";
    std::vector<std::filesystem::path> roots{".", installed, folder.path() / "nowhere" / "pellox" / "skins"};

    std::string List() {
        std::ostringstream out;
        EXPECT_EQ(ListSkinsCommand(roots, installed, out), 0);
        return out.str();
    }
    std::string At(const std::string& relative) const { return (folder.path() / relative).string(); }
};

TEST_F(ListSkinsTest, TheMenuInItsOrderWithBothTitlesAndEveryFolderSearched) {
    folder.Write("start/sub/b.ini", "[SETTINGS]\nver=1.6\ntitle=\xC1\xE5\xF2\xE0\n");  // Windows-1251, no titleGB
    folder.Write("start/a.ini", "[SETTINGS]\nver=1.6\ntitle=Альфа\ntitleGB=Alpha\n");
    folder.Write("start/broken.ini", "[SETTINGS]\ntitle=No version\n");
    folder.Write("start/.hidden/c.ini", "[SETTINGS]\nver=1.6\ntitle=Hidden\n");
    // Installed a second time under the same Russian title: listed as it is,
    // each entry with its own file.
    folder.Write("data/pellox/skins/alpha/alpha.ini", "[SETTINGS]\nver=1.6\ntitle=Альфа\ntitleGB=Alpha 2\n");

    EXPECT_EQ(List(),
              "The skin menu, as the start screen fills it:\n"
              "  0  Russian: Встроенная игра по умолчанию «Kestrow»\n"
              "     English: Built-in game “Kestrow”\n"
              "     File:    none, the game built into Pellox\n"
              "  1  Russian: Альфа\n"
              "     English: Alpha\n"
              "     File:    " + At("start/a.ini") + "\n"
              "  2  Russian: Бета\n"
              "     English: Бета\n"
              "     File:    " + At("start/sub/b.ini") + "\n"
              "  3  Russian: Альфа\n"
              "     English: Alpha 2\n"
              "     File:    " + At("data/pellox/skins/alpha/alpha.ini") + "\n"
              "The start screen opens with entry 3 selected, the last skin found.\n"
              "\n"
              "Folders searched, in this order, each with its subfolders (those starting with a dot are passed over):\n"
              "  " + At("start") + "  (the current folder)\n"
              "  " + At("data/pellox/skins") + "  (installed skins: a skin dropped on the start screen goes here)\n"
              "  " + At("nowhere/pellox/skins") + "  not there\n");
}

TEST_F(ListSkinsTest, WithNoSkinItSaysSoAndSucceeds) {
    folder.Write("start/notes.ini", "[General]\nthis=is no skin\n");
    const std::string listed = List();
    EXPECT_NE(listed.find("  0  Russian: Встроенная игра"), std::string::npos) << listed;
    EXPECT_EQ(listed.find("  1  "), std::string::npos) << listed;
    EXPECT_NE(listed.find("\nNo skins found: the menu offers only the built-in game.\n"), std::string::npos) << listed;
    EXPECT_NE(listed.find(At("data/pellox/skins") + "  (installed skins: a skin dropped on the start screen goes "
                                                    "here)  not made yet\n"),
              std::string::npos)
        << listed;
}

}  // namespace
}  // namespace pellox
