#pragma once
// The period of the Playing tick, from the score alone.

#include <cstdint>

namespace pellox {

// Scores of 3000 and more hold the pace of 2999: the formula would go
// negative there and stop the game.
inline constexpr std::int32_t kFastestPeriod = 27;

std::int32_t PlayingPeriod(std::uint8_t thousands, std::uint8_t hundreds, std::uint8_t low);

}  // namespace pellox
