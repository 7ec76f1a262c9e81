#pragma once
// The interface language, chosen on the start screen for the run.

namespace pellox {

// The values are those the game has always used: Russian 1 (the language at
// start), English 0.
enum class InterfaceLanguage { English = 0, Russian = 1 };

}  // namespace pellox
