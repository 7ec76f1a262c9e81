#pragma once
// Which sprite takes the pointer: the topmost lit sprite whose box holds it.
// A lit sprite takes the pointer in its whole box, its transparent pixels included.

#include <optional>

#include "lcd/core/sprite_model.h"

namespace pellox {

inline std::optional<SpriteId> TopmostSpriteAt(const SpriteModel& model, int x, int y) {
    for (int i = kSpriteCount - 1; i >= 0; --i) {
        const SpriteState& s = model.State(SpriteAt(i));
        if (s.visible && s.bounds.contains(x, y)) return SpriteAt(i);
    }
    return std::nullopt;
}

}  // namespace pellox
