#pragma once
// The start button's action: prepares the engine, keeps the built-in game or
// applies the chosen skin over it, sizes and shows the game window, and
// returns when the game window has closed.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gamewindow/game_window.h"
#include "skin/skin_apply.h"
#include "skin/skin_menu.h"
#include "skin/skin_text.h"

namespace pellox {

// What the start screen hands to the launch.
struct LaunchChoice {
    // The menu's selected index: 0 or -1 (nothing selected) is the built-in game.
    int selected = -1;
    // The menu is locked to the skin named on the command line.
    bool from_command_line = false;
    std::filesystem::path command_line_skin;
    // The menu as the start screen found it: the chosen skin is launched
    // from the file its entry was found in, without walking the folders
    // again, whatever other entry shares its title.
    SkinMenu menu;
};

// What every launch does first: the default keys W, O, D, K, the engine in the
// demo with the wolf at the lower left, sound on and both stored scores read,
// and the built-in titles.
void PrepareLaunch(GameWindow& window);

// What the game window does with a skin's pictures and waves: each loaded
// into the sprite or effect it feeds, or refused leaving it as it was.
std::unique_ptr<SkinTarget> MakeGameWindowSkinTarget(GameWindow& window);

// A skin's title and its four keys; sound and dir are the caller's.
void ApplySkinTitleAndKeys(GameWindow& window, const SkinSettings& settings);

// Applies a skin file over a prepared window: its settings (title, dir, sound,
// keys), then every picture and sound entry, looked for from the skin's dir
// (the current folder is never changed). A file that cannot be read
// counts as empty, so every entry fails. Gives the failed entries.
std::vector<SkinEntryFailure> ApplySkin(GameWindow& window, const std::filesystem::path& skin_file);

// Sizes the window to its background plus 8 by 34 pixels, places it on the
// screen under the pointer (lcd/window_placement.h; on a screen too small for
// it, its buttons stay on screen), with window events let through before and
// after, and starts the frame timer.
void FinishLaunch(GameWindow& window);

// Everything the launch does before the window is shown, for the built-in game.
void PrepareBuiltinGame(GameWindow& window);

// Shows the game window modally and waits until it closes.
void RunGameWindow(GameWindow& window);

// Why a launch failed, for the player.
struct LaunchFailure {
    // The skin file as the player reads it (ShownPath); empty when none was found.
    std::filesystem::path skin;
    std::vector<SkinEntryFailure> entries;
    // The folder the game was started in, which the paths are shown from.
    std::filesystem::path start_folder;
};

// The whole launch, as the start button (THBForm::btStartClick) runs it.
// Gives 0 when the game window was closed, 1 when a skin entry failed. A
// failed launch writes one line per failed entry to standard error (and
// fills failure when given), shows the playfield only for a moment and
// returns without waiting. The window's skin is then partly applied: the
// start screen makes a fresh one for the next launch.
int LaunchChosenGame(GameWindow& window, const LaunchChoice& choice, LaunchFailure* failure = nullptr);

// One line per failed entry: the skin file, the section and key, the reason.
std::vector<std::string> FailureLines(const std::filesystem::path& skin,
                                      const std::vector<SkinEntryFailure>& failures);

// A path as a player reads it: without "." steps, and from the start
// folder when it lies inside it ("broken/broken.ini", not
// "./broken/broken.ini" or "/home/me/games/./broken/broken.ini").
std::filesystem::path ShownPath(const std::filesystem::path& path, const std::filesystem::path& start_folder);

}  // namespace pellox
