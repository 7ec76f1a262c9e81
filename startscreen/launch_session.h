#pragma once
// The game window behind the start screen and the launch of the menu's
// chosen entry in it. The window is made hidden, once, and made again after a
// launch that failed (it holds part of the failed skin); this is the one
// place that owns it.

#include <functional>
#include <memory>

#include "engine/language.h"
#include "gamewindow/game_window.h"
#include "startscreen/launch.h"
#include "startscreen/menu/skin_menu_model.h"

namespace pellox {

// How a launch ended: status 0 when the game window was closed, 1 when the
// chosen skin did not start (failure then says why).
struct LaunchOutcome {
    int status = 0;
    LaunchFailure failure;
};

class LaunchSession {
public:
    // Makes the game window, hidden; nothing when it cannot.
    using MakeGameWindow = std::function<std::unique_ptr<GameWindow>()>;

    explicit LaunchSession(MakeGameWindow make);

    // Makes the game window unless it is there, speaking language. False
    // when it cannot be made (told on the diagnostic path); nothing throws.
    bool EnsureGameWindow(InterfaceLanguage language);
    // The game window, or nothing before it is made.
    GameWindow* Window() const { return window_.get(); }
    // The start screen's language, for the window's titles.
    void SetLanguage(InterfaceLanguage language);

    // Launches the menu's selected entry in the game window, which must have
    // been made, and returns when the game has ended. Nothing throws: a
    // launch that throws failed as a skin that does not load, told as a
    // failure of what was launched (its file, or the entry's title in
    // language). After a failure the window is gone, to be made afresh.
    LaunchOutcome Launch(const SkinMenuModel& menu, InterfaceLanguage language);

private:
    MakeGameWindow make_;
    std::unique_ptr<GameWindow> window_;  // MForm
};

}  // namespace pellox
