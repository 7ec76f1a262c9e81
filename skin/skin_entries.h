#pragma once
// Which skin key feeds which sprite or sound, in the groups and the order the
// launch applies them: the contract between a skin file and the game window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/effects.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {

struct SkinEntry {
    std::string_view section;
    std::string key;
    // Exactly one of the two: a picture key feeds a sprite, a SOUNDS key an effect.
    std::optional<SpriteId> sprite;
    std::optional<Effect> effect;
};

// Within a group the first entry that fails ends the group; every group is tried.
using SkinEntryGroup = std::vector<SkinEntry>;

// All 90 entries: 82 pictures in nine kinds of group, then the 8 sounds.
const std::vector<SkinEntryGroup>& SkinEntryGroups();

// The entry that feeds a sprite, and the one that feeds a sound.
const SkinEntry& SkinEntryOf(SpriteId sprite);
const SkinEntry& SkinEntryOf(Effect effect);

}  // namespace pellox
