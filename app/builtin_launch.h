#pragma once

namespace pellox {

// Opens the game window with the built-in game and runs until it closes.
// Returns the program's exit status.
int RunBuiltinGame();

}  // namespace pellox
