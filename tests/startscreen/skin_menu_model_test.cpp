// The start screen's skin menu without a window: what it lists, its state and
// which entry is selected after each thing that can happen to it.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "startscreen/menu/skin_menu_model.h"

namespace pellox {
namespace {

using Step = std::function<void(SkinMenuModel&)>;
using State = SkinMenuState;

SkinProbe Usable(const std::string& title, const std::string& title_gb = std::string(NoTitleMarker)) {
    return {true, title, title_gb};
}

std::filesystem::path FileOf(const std::string& title) { return "/skins/" + title + "/" + title + ".ini"; }

// The things that happen to the menu, by what the start screen sees.
Step NoArgument() {
    return [](SkinMenuModel& m) { m.CommandLineLooked(SkinProbe{}, {}); };
}
Step Argument(const std::string& title) {
    return [title](SkinMenuModel& m) { m.CommandLineLooked(Usable(title), FileOf(title)); };
}
Step Started() {
    return [](SkinMenuModel& m) { m.SearchStarted(); };
}
Step Found(const std::string& title) {
    return [title](SkinMenuModel& m) { m.SkinFound(Usable(title), FileOf(title)); };
}
Step Ended() {
    return [](SkinMenuModel& m) { m.SearchEnded(); };
}
Step PlayerChose(int index) {
    return [index](SkinMenuModel& m) { m.PlayerChose(index); };
}
Step Select(int index) {
    return [index](SkinMenuModel& m) { m.Select(index); };
}
Step Launched() {
    return [](SkinMenuModel& m) { m.Launched(); };
}
Step CommandLineSkinFailed() {
    return [](SkinMenuModel& m) { m.CommandLineSkinFailed(); };
}
// An install from the start screen that gave one skin, offered at once.
Step Installed(const std::string& title, const std::string& title_gb = std::string(NoTitleMarker)) {
    return [title, title_gb](SkinMenuModel& m) { m.OfferInstalled(m.SkinInstalled(Usable(title, title_gb), FileOf(title))); };
}

std::string Listed(const SkinMenuModel& menu) {
    std::string listed;
    for (std::size_t i = 1; i < menu.Titles(InterfaceLanguage::Russian).size(); ++i)
        listed += (i > 1 ? " | " : "") + menu.Titles(InterfaceLanguage::Russian)[i];
    return listed;
}

TEST(SkinMenuModel, EachEventLeavesTheMenuInItsStateWithItsSelection) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
        const char* listed;  // the skins after the built-in game
        State state;
        int selected;
    };
    const Case cases[] = {
        {"before anything: the built-in game, nothing selected", {}, "", State::Choosing, -1},
        {"the search has begun: the built-in game is what Start plays", {NoArgument(), Started()}, "",
         State::Choosing, 0},
        {"no skin found: locked on the built-in game", {NoArgument(), Started(), Ended()}, "", State::NoneFound, 0},
        {"skins found: the last one selected", {NoArgument(), Started(), Found("A"), Found("B"), Ended()}, "A | B",
         State::Choosing, 2},
        {"a usable first argument: locked on it, no search", {Argument("C")}, "C", State::Locked, 1},
        {"only the first look at the command line counts", {Argument("C"), Argument("D"), NoArgument()}, "C",
         State::Locked, 1},
        {"the player's entry stays while skins are found",
         {NoArgument(), Started(), Found("A"), Found("B"), PlayerChose(1), Found("C"), Ended()}, "A | B | C",
         State::Choosing, 1},
        {"taken before the search began, the built-in game stays",
         {NoArgument(), PlayerChose(0), Started(), Found("A"), Ended()}, "A", State::Choosing, 0},
        {"moved by the program, not the player: found skins still take it",
         {NoArgument(), Started(), Found("A"), Select(0), Found("B")}, "A | B", State::Choosing, 2},
        {"an index outside the menu is no selection to take",
         {NoArgument(), Started(), Found("A"), Select(5), Select(-2)}, "A", State::Choosing, 1},
        {"the entry launched stays, whatever is found while the game runs",
         {NoArgument(), Started(), Found("A"), Launched(), Found("B")}, "A | B", State::Choosing, 1},
        {"a failed command-line skin: the built-in game, and the search",
         {Argument("C"), Launched(), CommandLineSkinFailed(), Started(), Found("A"), Ended()}, "A",
         State::Choosing, 0},
        {"a failed command-line skin and nothing found",
         {Argument("C"), Launched(), CommandLineSkinFailed(), Started(), Ended()}, "", State::NoneFound, 0},
        {"installed into a menu with no skin: choosing, the new skin selected",
         {NoArgument(), Started(), Ended(), Installed("N")}, "N", State::Choosing, 1},
        {"installed over the command line's lock", {Argument("C"), Installed("N")}, "C | N", State::Choosing, 2},
        {"installed while the search runs, then met by it: listed once, still selected",
         {NoArgument(), Started(), Installed("N"), Found("A"), Found("N"), Ended()}, "N | A", State::Choosing, 1},
        {"installed before the search began: kept selected",
         {NoArgument(), Installed("N"), Started(), Found("A"), Ended()}, "N | A", State::Choosing, 1},
        {"installed again over its own files: one entry",
         {NoArgument(), Started(), Found("A"), Installed("N"), PlayerChose(1), Installed("N")}, "A | N",
         State::Choosing, 2},
        {"a found skin installed again: one entry",
         {NoArgument(), Started(), Found("N"), Found("A"), Ended(), Installed("N")}, "N | A", State::Choosing, 1},
    };
    for (const Case& c : cases) {
        SkinMenuModel menu;
        for (const Step& step : c.steps) step(menu);
        EXPECT_EQ(Listed(menu), c.listed) << c.what;
        EXPECT_EQ(menu.State(), c.state) << c.what;
        EXPECT_EQ(menu.Enabled(), c.state == State::Choosing) << c.what;
        EXPECT_EQ(menu.Selected(), c.selected) << c.what;
        EXPECT_EQ(menu.Entries().SkinFiles.size(), menu.Titles(InterfaceLanguage::English).size()) << c.what;
    }
}

TEST(SkinMenuModel, TheSearchIsDueOnceTheCommandLineGaveNoSkinAndAgainAfterItsSkinFailed) {
    SkinMenuModel menu;
    EXPECT_FALSE(menu.SearchDue());  // the command line is looked at first
    EXPECT_FALSE(menu.CommandLineSeen());
    Argument("C")(menu);
    EXPECT_TRUE(menu.CommandLineSeen());
    EXPECT_FALSE(menu.SearchDue());
    EXPECT_EQ(menu.CommandLineSkin(), FileOf("C"));
    CommandLineSkinFailed()(menu);
    EXPECT_TRUE(menu.CommandLineSkin().empty());
    EXPECT_TRUE(menu.SearchDue());
    Started()(menu);
    EXPECT_TRUE(menu.SearchRunning());
    EXPECT_FALSE(menu.SearchDue());
    Ended()(menu);
    EXPECT_FALSE(menu.SearchRunning());
    EXPECT_FALSE(menu.SearchDue());

    SkinMenuModel searched;
    NoArgument()(searched);
    EXPECT_TRUE(searched.CommandLineSeen());
    EXPECT_TRUE(searched.SearchDue());
    EXPECT_TRUE(searched.CommandLineSkin().empty());

    // Unlocked by an install, the command line's skin launches as an entry of the menu.
    SkinMenuModel unlocked;
    Argument("C")(unlocked);
    Installed("N")(unlocked);
    EXPECT_TRUE(unlocked.CommandLineSkin().empty());
    EXPECT_EQ(unlocked.Entries().FileOf(1), FileOf("C"));
}

// A view that appends what is new must know when to fill itself again.
TEST(SkinMenuModel, TheListVersionGrowsOnlyWhenEntriesGoOrChangeTheirTitles) {
    SkinMenuModel menu;
    Argument("C")(menu);
    const std::uint64_t at_start = menu.ListVersion();
    Installed("N", "New")(menu);
    Installed("N", "New")(menu);  // the same files, the same titles
    EXPECT_EQ(menu.ListVersion(), at_start);
    Installed("N", "Newer")(menu);
    EXPECT_GT(menu.ListVersion(), at_start);
    EXPECT_EQ(menu.Titles(InterfaceLanguage::English).back(), "Newer");
    const std::uint64_t renamed = menu.ListVersion();
    CommandLineSkinFailed()(menu);
    EXPECT_GT(menu.ListVersion(), renamed);
}

TEST(SkinMenuModel, EnglishTitlesFallBackToTheSkinsTitle) {
    SkinMenuModel menu;
    NoArgument()(menu);
    Started()(menu);
    menu.SkinFound(Usable("Только по-русски"), FileOf("ru"));
    menu.SkinFound(Usable("Zwei", "Two"), FileOf("two"));
    EXPECT_EQ(menu.Titles(InterfaceLanguage::English),
              (std::vector<std::string>{std::string(kBuiltinMenuTitleGB), "Только по-русски", "Two"}));
    EXPECT_EQ(menu.Titles(InterfaceLanguage::Russian)[2], "Zwei");
}

TEST(SkinMenuModel, AnUnusableInstalledFileIsNoEntryAndOffersNothing) {
    SkinMenuModel menu;
    NoArgument()(menu);
    Started()(menu);
    Ended()(menu);
    const int entry = menu.SkinInstalled(SkinProbe{}, FileOf("broken"));
    EXPECT_EQ(entry, -1);
    menu.OfferInstalled(entry);
    EXPECT_EQ(menu.State(), State::NoneFound);
    EXPECT_EQ(menu.Entries().SkinFiles.size(), 1u);
    EXPECT_EQ(menu.EntryOfFile(FileOf("broken")), -1);
}

TEST(SkinMenuModel, AnEntryIsFoundByItsFileUnderAnotherSpelling) {
    SkinMenuModel menu;
    NoArgument()(menu);
    Started()(menu);
    Found("A")(menu);
    EXPECT_EQ(menu.EntryOfFile("/skins/./A/../A/A.ini"), 1);
    EXPECT_EQ(menu.EntryOfFile("/skins/B/B.ini"), -1);
    EXPECT_EQ(menu.EntryOfFile({}), -1);  // the built-in game has no file to match
}

}  // namespace
}  // namespace pellox
