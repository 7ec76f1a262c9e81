#pragma once
// The start button's action: prepares the engine, keeps the built-in game (or,
// later, applies a skin), sizes and shows the game window, and returns when
// the game window has closed.

#include "gamewindow/game_window.h"

namespace pellox {

// The built-in game's name, in both languages.
inline const std::u16string kBuiltinTitle = u"\"Kestrow!\"";

// Everything the launch does before the window is shown.
void PrepareBuiltinGame(GameWindow& window);

// Shows the game window modally and waits until it closes.
void RunGameWindow(GameWindow& window);

// btStartClick for the built-in game: prepare, show, wait.
void btStartClick(GameWindow& window);

}  // namespace pellox
