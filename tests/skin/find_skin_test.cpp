// The skin search over folder trees, and the folders it starts from.
#include "skin/find_skin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "skin/skin_search_roots.h"
#include "tests/support/temp_folder.h"
#include "tests/support/kernel_files.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;

std::string Skin(const std::string& title, const std::string& title_gb = "") {
    std::string text = "[SETTINGS]\r\nver=1.6\r\ntitle=" + title + "\r\n";
    if (!title_gb.empty()) text += "titleGB=" + title_gb + "\r\n";
    return text;
}

// The Russian menu list without the built-in entry 0.
std::vector<std::string> Found(const SkinMenu& menu) {
    return {menu.MenuTitlesSU.begin() + 1, menu.MenuTitlesSU.end()};
}

class FindSkinTree : public testing::Test {
protected:
    // Lists every skin of the tree, as the start screen does.
    fs::path ListAll(const fs::path& folder) { return FindSkin(folder, NoTitleMarker, menu); }

    TempFolder temp;
    SkinMenu menu;
};

TEST_F(FindSkinTree, NoSkinLeavesTheBuiltInEntryUnselected) {
    temp.Write("notes.txt", Skin("Not an ini"));
    temp.Write("sub/old.ini", "[SETTINGS]\nver=1.5\ntitle=Old\n");
    EXPECT_EQ(ListAll(temp.path()), fs::path());
    EXPECT_THAT(menu.MenuTitlesSU, ElementsAre("Встроенная игра по умолчанию «Kestrow»"));
    EXPECT_THAT(menu.MenuTitlesGB, ElementsAre("Built-in game “Kestrow”"));
    EXPECT_EQ(menu.selected, -1);
}

TEST_F(FindSkinTree, AFoldersFilesComeBeforeItsSubfoldersInNameOrder) {
    temp.Write("B.ini", Skin("B", "Bee"));
    temp.Write("A.INI", Skin("A"));
    temp.Write("a.Ini", Skin("a"));
    temp.Write("Sub/c.ini", Skin("C"));
    temp.Write("Sub/Deeper/d.ini", Skin("D"));
    temp.Write("another/e.ini", Skin("E"));
    temp.Write("z.ini", Skin("Z"));
    EXPECT_EQ(ListAll(temp.path()), fs::path());
    // Case-blind name order; "A.INI" before "a.Ini" byte-wise.
    EXPECT_THAT(Found(menu), ElementsAre("A", "a", "B", "Z", "E", "C", "D"));
    EXPECT_EQ(menu.MenuTitlesGB[3], "Bee");
    EXPECT_EQ(menu.MenuTitlesGB[1], "A");  // no titleGB: the title stands in
    EXPECT_EQ(menu.selected, 7);           // the last skin found
}

TEST_F(FindSkinTree, HiddenFoldersAreSkippedButHiddenSkinFilesAreListed) {
    temp.Write(".hidden/x.ini", Skin("In a hidden folder"));
    temp.Write("visible/.dot.ini", Skin("Hidden file"));
    ListAll(temp.path());
    EXPECT_THAT(Found(menu), ElementsAre("Hidden file"));
}

TEST_F(FindSkinTree, WhatOnlyLooksLikeASkinFileIsPassedOver) {
    temp.Write("folder.ini/inside.ini", Skin("Inside"));  // a folder: walked, not probed
    temp.Write("no-ver.ini", "[SETTINGS]\ntitle=No ver\n");
    temp.Write("garbage.ini", std::string("\0\xFF[\n=\r]", 7));
    ASSERT_EQ(::mkfifo((temp.path() / "pipe.ini").c_str(), 0600), 0);  // reading it would hang
    fs::create_symlink("nowhere.ini", temp.path() / "dangling.ini");
    ListAll(temp.path());
    EXPECT_THAT(Found(menu), ElementsAre("Inside"));
}

TEST_F(FindSkinTree, StopsAtTheFirstSkinWithTheWantedTitle) {
    temp.Write("a.ini", Skin("First"));
    temp.Write("sub/b.ini", Skin("Wanted"));
    temp.Write("sub/c.ini", Skin("After"));
    temp.Write("sub2/d.ini", Skin("Wanted"));

    EXPECT_EQ(FindSkin(temp.path(), "Wanted", menu), temp.path() / "sub" / "b.ini");
    EXPECT_THAT(Found(menu), ElementsAre("First", "Wanted"));

    SkinMenu other;
    EXPECT_EQ(FindSkin(temp.path(), "wanted", other), fs::path()) << "letter case counts";
}

TEST_F(FindSkinTree, LinksToFoldersAreFollowedAndALoopEnds) {
    TempFolder outside;
    outside.Write("far.ini", Skin("Far"));
    temp.Write("sub/near.ini", Skin("Near"));
    fs::create_directory_symlink(outside.path(), temp.path() / "far");
    fs::create_directory_symlink("..", temp.path() / "sub" / "up");
    fs::create_directory_symlink(".", temp.path() / "sub" / "self");
    fs::create_directory_symlink(temp.path() / "sub", temp.path() / "sub-again");

    ListAll(temp.path());
    EXPECT_THAT(Found(menu), ElementsAre("Far", "Near"));
}

TEST_F(FindSkinTree, TheKernelsFileSystemsAreNotEntered) {
    PELLOX_SKIP_WITHOUT_KERNEL_FILES();
    // /proc/self/cwd leads back here: a search that entered /proc would find
    // this skin through it (and, from "/", walk every program's tree).
    temp.Write("here.ini", Skin("Here"));
    CurrentDirGuard in(temp.path());
    EXPECT_EQ(ListAll("/proc/self"), fs::path());
    EXPECT_THAT(Found(menu), ElementsAre());
}

TEST(KindOfFileSystem, NetworkAndFuseAreRemoteKernelsOwnAreKernel) {
    struct Case {
        unsigned long f_type;
        FileSystemKind kind;
        const char* name;
    };
    const Case cases[] = {
        {0xef53, FileSystemKind::Local, "ext4"},        {0x9123683e, FileSystemKind::Local, "btrfs"},
        {0x58465342, FileSystemKind::Local, "xfs"},     {0x01021994, FileSystemKind::Local, "tmpfs"},
        {0x9fa0, FileSystemKind::Kernel, "proc"},       {0x62656572, FileSystemKind::Kernel, "sysfs"},
        {0x6969, FileSystemKind::Remote, "nfs"},        {0xff534d42, FileSystemKind::Remote, "cifs"},
        {0xfe534d42, FileSystemKind::Remote, "smb2"},   {0x65735546, FileSystemKind::Remote, "fuse (sshfs)"},
        {0x01021997, FileSystemKind::Remote, "9p"},     {0x6b414653, FileSystemKind::Remote, "afs"},
        {0x00c36400, FileSystemKind::Remote, "ceph"},   {0x73757245, FileSystemKind::Remote, "coda"},
        {0x0187, FileSystemKind::Remote, "autofs"},
    };
    for (const Case& c : cases) EXPECT_EQ(KindOfFileSystem(c.f_type), c.kind) << c.name;
}

TEST_F(FindSkinTree, AWalkThatIsToldToStopEndsWithoutListingMore) {
    for (int i = 0; i < 6; ++i) temp.Write("f" + std::to_string(i) + "/s.ini", Skin("S" + std::to_string(i)));
    std::vector<std::string> found;
    int asked = 0;
    const fs::path hit = SearchSkins(
        {temp.path(), temp.path() / "f5"}, "S5",
        [&](const SkinProbe& skin, const fs::path& file) {
            found.push_back(skin.TitleSU);
            EXPECT_EQ(file.filename(), "s.ini");
        },
        [&] { return ++asked <= 5; });  // the root, f0 and its skin, f1 and its skin
    EXPECT_EQ(hit, fs::path()) << "a stopped walk finds nothing, not even in a later root";
    EXPECT_THAT(found, ElementsAre("S0", "S1"));
    EXPECT_EQ(asked, 6) << "asked once more, then never again";
}

TEST_F(FindSkinTree, AnUnreadableFolderIsPassedOver) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads a folder of mode 000 all the same";
    temp.Write("locked/hidden-away.ini", Skin("Locked"));
    temp.Write("open/x.ini", Skin("Open"));
    fs::permissions(temp.path() / "locked", fs::perms::none);
    struct Unlock {
        fs::path folder;
        ~Unlock() { fs::permissions(folder, fs::perms::owner_all); }
    } unlock{temp.path() / "locked"};

    ListAll(temp.path());
    EXPECT_THAT(Found(menu), ElementsAre("Open"));
}

TEST(SkinSearchRoots, CurrentFolderThenXdgDataHomeThenXdgDataDirs) {
    struct Case {
        const char* name;
        SkinSearchEnvironment env;
        std::vector<fs::path> roots;
    };
    const Case cases[] = {
        {"nothing set", {}, {".", "/usr/local/share/pellox/skins", "/usr/share/pellox/skins"}},
        {"home only",
         {std::nullopt, "/home/wolf", std::nullopt},
         {".", "/home/wolf/.local/share/pellox/skins", "/usr/local/share/pellox/skins",
          "/usr/share/pellox/skins"}},
        {"data home over home",
         {"/data", "/home/wolf", "/opt/share:/srv"},
         {".", "/data/pellox/skins", "/opt/share/pellox/skins", "/srv/pellox/skins"}},
        {"relative and empty values are ignored",
         {"data", "/home/wolf", "/a::relative:/b/"},
         {".", "/home/wolf/.local/share/pellox/skins", "/a/pellox/skins", "/b/pellox/skins"}},
        {"empty data dirs give the defaults",
         {"", "", ""},
         {".", "/usr/local/share/pellox/skins", "/usr/share/pellox/skins"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SkinSearchRoots(c.env), c.roots) << c.name;
    }
}

// The variables as the process has them: set, unset or empty. The install
// goes to the search's first root after ".", whatever they hold.
TEST(SkinSearchRoots, InstallFolderIsTheSearchsOwnFolderUnderEveryEnvironment) {
    struct Variable {
        const char* name;
        std::optional<std::string> saved;
        explicit Variable(const char* n) : name(n) {
            if (const char* value = std::getenv(n)) saved = value;
        }
        void Set(const std::optional<std::string>& value) const {
            if (value) ::setenv(name, value->c_str(), 1);
            else ::unsetenv(name);
        }
        ~Variable() { Set(saved); }
    };
    const Variable data_home("XDG_DATA_HOME"), home("HOME"), data_dirs("XDG_DATA_DIRS");
    struct Case {
        const char* name;
        std::optional<std::string> data_home, home, data_dirs;
        fs::path installed;  // empty: nowhere to install
        std::vector<fs::path> roots;
    };
    const Case cases[] = {
        {"all set", "/data", "/home/wolf", "/opt:/srv", "/data/pellox/skins",
         {".", "/data/pellox/skins", "/opt/pellox/skins", "/srv/pellox/skins"}},
        {"data home unset", std::nullopt, "/home/wolf", std::nullopt, "/home/wolf/.local/share/pellox/skins",
         {".", "/home/wolf/.local/share/pellox/skins", "/usr/local/share/pellox/skins", "/usr/share/pellox/skins"}},
        {"data home empty", "", "/home/wolf", "", "/home/wolf/.local/share/pellox/skins",
         {".", "/home/wolf/.local/share/pellox/skins", "/usr/local/share/pellox/skins", "/usr/share/pellox/skins"}},
        {"data home relative", "data", "/home/wolf", "/opt", "/home/wolf/.local/share/pellox/skins",
         {".", "/home/wolf/.local/share/pellox/skins", "/opt/pellox/skins"}},
        {"nothing set", std::nullopt, std::nullopt, std::nullopt, fs::path(),
         {".", "/usr/local/share/pellox/skins", "/usr/share/pellox/skins"}},
        {"all empty", "", "", "", fs::path(), {".", "/usr/local/share/pellox/skins", "/usr/share/pellox/skins"}},
    };
    for (const Case& c : cases) {
        data_home.Set(c.data_home);
        home.Set(c.home);
        data_dirs.Set(c.data_dirs);
        const SkinSearchEnvironment env = SkinSearchEnvironment::FromProcess();
        EXPECT_EQ(InstalledSkinsFolder(env), c.installed) << c.name;
        EXPECT_EQ(SkinSearchRoots(env), c.roots) << c.name;
    }
}

TEST_F(FindSkinTree, RootsShareOneWalkAndStopAtTheFirstHit) {
    temp.Write("home/mine.ini", Skin("Mine"));
    temp.Write("home/.local/share/pellox/skins/installed.ini", Skin("Installed"));
    temp.Write("system/wanted.ini", Skin("Wanted"));
    temp.Write("system/sub/later.ini", Skin("Later"));
    temp.Write("elsewhere/never.ini", Skin("Never"));
    fs::create_directory_symlink(temp.path() / "home", temp.path() / "home-link");

    const fs::path home = temp.path() / "home";
    const std::vector<fs::path> roots = {
        home,
        home / ".local/share/pellox/skins",  // behind a hidden folder: not yet walked
        temp.path() / "home-link",           // the same folder again
        home,
        temp.path() / "missing",
        temp.path() / "system",
        temp.path() / "elsewhere",
    };
    EXPECT_EQ(FindSkinInRoots(roots, "Wanted", menu), temp.path() / "system" / "wanted.ini");
    EXPECT_THAT(Found(menu), ElementsAre("Mine", "Installed", "Wanted"));
}

}  // namespace
}  // namespace pellox
