#pragma once
// The grouping tables through which the engine addresses the sprites.
// Filled once at launch; a skin changes sprites in place, so the entries stay valid.

#include <array>

#include "lcd/core/sprite_layout.h"

namespace pellox {

struct SpriteTables {
    // [chute][step - 1], chutes UL, UR, DL, DR.
    std::array<std::array<SpriteId, 5>, 4> EggSprites{};
    // [wolf position]
    std::array<SpriteId, 4> BasketSprites{};
    // [side]
    std::array<SpriteId, 2> WolfSprites{};
    // [miss number - 1]
    std::array<SpriteId, 3> MissMarkSprites{};
    // [side][slot]: shell, smashed egg, chick steps 1..4.
    std::array<std::array<SpriteId, 6>, 2> FloorSprites{};
    // [digit: ones, tens, hundreds, thousands][segment U, UL, UR, M, DL, DR, D]
    std::array<std::array<SpriteId, 7>, 4> SegmentSprites{};
};

SpriteTables BindSpriteTables();

}  // namespace pellox
