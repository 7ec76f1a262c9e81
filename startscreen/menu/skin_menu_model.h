#pragma once
// What the start screen's skin menu offers and shows, without a window: its
// entries, its state (told by the caption over it), which entry is selected
// and the rules that move the selection as skins are found, installed and
// launched. The start screen tells it what happened and draws what it holds.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/language.h"
#include "skin/skin_menu.h"
#include "skin/skin_probe.h"

namespace pellox {

// The three states of the menu, told by the group box's caption. Only a
// menu that is choosing can be opened; the other two stay on their entry.
enum class SkinMenuState { Choosing, Locked, NoneFound };

class SkinMenuModel {
public:
    const SkinMenu& Entries() const { return entries_; }
    // The titles shown in the language, one per entry (UTF-8).
    const std::vector<std::string>& Titles(InterfaceLanguage language) const;
    SkinMenuState State() const { return state_; }
    // Whether the player may open the menu.
    bool Enabled() const { return state_ == SkinMenuState::Choosing; }
    // -1 while nothing is selected; that starts the built-in game, as entry 0 does.
    int Selected() const { return selected_; }
    // The first command-line argument has been looked at (CommandLineLooked).
    bool CommandLineSeen() const { return source_ != Source::Undecided; }
    bool SearchRunning() const { return search_ == Search::Running; }
    // The search is to start: the command line has been looked at and gave no
    // skin, and no search has run for the entries as they are.
    bool SearchDue() const { return source_ == Source::Search && search_ == Search::NotStarted; }
    // The skin file the menu is locked to; empty unless it is.
    std::filesystem::path CommandLineSkin() const;
    // Grows by one whenever entries are taken away or change their titles,
    // so that a view appending the new entries knows to fill itself again.
    std::uint64_t ListVersion() const { return list_version_; }
    // The menu entry of file (the same file under any path), or -1.
    int EntryOfFile(const std::filesystem::path& file) const;

    // The first command-line argument has been looked at: a usable skin
    // (probe and file) locks the menu on it as entry 1 and no search is made;
    // anything else leaves the menu to the search. Only the first call counts.
    void CommandLineLooked(const SkinProbe& probe, const std::filesystem::path& file);
    // The search begins: the built-in game is selected until a skin is
    // found, unless the player has taken an entry already.
    void SearchStarted();
    // A skin the search found: appended and selected, unless the player has
    // chosen an entry. One installed while the start screen runs is listed
    // already and passed over. Gives whether it was added.
    bool SkinFound(const SkinProbe& probe, const std::filesystem::path& file);
    // The search is over. With no skin found, the menu is locked on the
    // built-in game's entry, so that the caption reads on into its name.
    void SearchEnded();
    // The player took an entry: skins found later no longer take the selection.
    void PlayerChose(int index);
    // The selection was moved by the program, not by the player (a view that
    // is set directly); an index out of the menu leaves it.
    void Select(int index);
    // The selected entry is launched; it stays selected should the start
    // screen come back, whatever the search finds meanwhile.
    void Launched();
    // The command line's skin failed to launch: the player chooses again from
    // the built-in game, selected, and what a new search finds.
    void CommandLineSkinFailed();
    // A skin installed from the start screen, listed at once: a new entry, or
    // the one of its file, its titles renewed. Gives the entry; -1 when the
    // installed file is no usable skin.
    int SkinInstalled(const SkinProbe& probe, const std::filesystem::path& file);
    // The first entry an install gave is what the player wants to play next:
    // selected, and a locked menu now offers a choice. -1 or 0 changes nothing.
    void OfferInstalled(int entry);

private:
    // Where the entries come from; the command line's skin, when usable,
    // replaces the search.
    enum class Source { Undecided, CommandLine, Search };
    enum class Search { NotStarted, Running, Ended };

    void SetState(SkinMenuState state);
    bool InstalledHere(const std::filesystem::path& file) const;

    SkinMenu entries_;
    SkinMenuState state_ = SkinMenuState::Choosing;
    int selected_ = -1;
    Source source_ = Source::Undecided;
    Search search_ = Search::NotStarted;
    bool player_chose_ = false;
    // Skin files installed while the start screen runs, already in the menu:
    // the search, still walking, passes them over when it meets them.
    std::vector<std::filesystem::path> installed_here_;
    std::uint64_t list_version_ = 0;
};

}  // namespace pellox
