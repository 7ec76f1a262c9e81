#pragma once
// Rows 1..42 of (advance threshold, egg limit). While Level is n at most the
// limit of row n may be rolling; a catch that leaves ScoreLow equal to row n's
// threshold moves Level on to n + 1. Row 42's threshold (100) is never met.

#include <array>
#include <cstdint>

namespace pellox {

struct LevelRow {
    std::uint8_t threshold;
    std::uint8_t limit;
};

inline constexpr int kLevelCount = 42;

// Index 0 is row 1.
inline constexpr std::array<LevelRow, kLevelCount> kLevelTable{{
    {5, 1},  {10, 2}, {50, 3}, {90, 4}, {0, 5},  {40, 3}, {80, 4},  {0, 5},  {30, 3}, {70, 4},
    {90, 5}, {0, 6},  {20, 3}, {60, 4}, {80, 5}, {0, 6},  {10, 3},  {50, 4}, {70, 5}, {0, 6},
    {40, 4}, {60, 5}, {90, 6}, {0, 7},  {30, 4}, {50, 5}, {80, 6},  {0, 7},  {20, 4}, {40, 5},
    {70, 6}, {0, 7},  {10, 4}, {30, 5}, {60, 6}, {90, 7}, {0, 8},   {20, 5}, {50, 6}, {80, 7},
    {0, 8},  {100, 9},
}};

// Row `level` (1..42). Level is only ever set to 1..42 by the rules; anything
// else reads the nearest row so that a bad value cannot index out of the table.
inline const LevelRow& LevelTableRow(std::uint8_t level) {
    int row = level < 1 ? 1 : (level > kLevelCount ? kLevelCount : level);
    return kLevelTable[static_cast<std::size_t>(row - 1)];
}

}  // namespace pellox
