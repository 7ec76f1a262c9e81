#pragma once
// The built-in sound effects, in the order of the game window's effect list.

#include <array>
#include <string>

namespace pellox {

inline constexpr std::array<const char*, 8> kBuiltinSoundNames = {"UL",    "UR",    "DL",    "DR",
                                                                  "Basket", "Crack", "Chuck", "GO"};

// ":/builtin/sounds/<Name>.wav": a complete RIFF WAVE image in the resources.
std::string BuiltinSoundPath(int index);

}  // namespace pellox
