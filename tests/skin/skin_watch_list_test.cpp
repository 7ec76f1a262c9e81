// What the preview watches for a skin: the files its entries find and the
// folders where the ones not found yet would appear.
#include <gtest/gtest.h>

#include "skin/skin_watch_list.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

TEST(SkinWatchList, FoundFilesAndTheFoldersWhereMissingOnesWouldAppear) {
    TempFolder folder;
    const std::filesystem::path root = folder.path();
    folder.Write("skin/Pics/hare.bmp", "BM");
    folder.Write("skin/sounds/ul.wav", "RIFF");
    folder.Folder("skin/Later");
    const std::filesystem::path ini = folder.Write(
        "skin/skin.ini",
        "[SETTINGS]\nver=1.6\ntitle=T\ndir=.\n"
        "[HARE]\nhare=1,2,3,4,pics\\HARE.BMP\n"          // found with Windows letter case and separator
        "bell=1,2,3,4,later\\not yet\\bell.bmp\n"        // a folder that does not exist yet, in one that does
        "[SOUNDS]\nMoveUL=sounds/ul.wav\nMoveUR=nowhere.wav\n");
    const LoadedSkinFile loaded = LoadSkinFile(ini);
    ASSERT_TRUE(loaded);
    const SkinFolders folders = SkinFoldersFor(ini, ".", root);
    EXPECT_EQ(folders.skin, root / "skin");
    EXPECT_EQ(folders.work, root);  // dir "." from where the game started

    const SkinWatchList list = SkinWatchListFor(ini, &*loaded, folders, root);
    EXPECT_EQ(list.files, (std::set<std::filesystem::path>{ini, root / "skin/Pics/hare.bmp", root / "skin/sounds/ul.wav"}));
    EXPECT_EQ(list.folders, (std::set<std::filesystem::path>{root, root / "skin", root / "skin/Pics", root / "skin/sounds",
                                                             root / "skin/Later"}));
}

TEST(SkinWatchList, AnUnreadableSkinFileIsWatchedAloneWithItsFolder) {
    TempFolder folder;
    const std::filesystem::path ini = folder.path() / "gone.ini";
    const SkinWatchList list = SkinWatchListFor(ini, nullptr, SkinFoldersFor(ini, ".", folder.path()), folder.path());
    EXPECT_EQ(list.files, (std::set<std::filesystem::path>{ini}));
    EXPECT_EQ(list.folders, (std::set<std::filesystem::path>{folder.path()}));
}

}  // namespace
}  // namespace pellox
