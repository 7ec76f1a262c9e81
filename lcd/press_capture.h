#pragma once
// Which sprite a mouse press goes to.
//
// The sprite that got the first press keeps the pointer until its button is
// released, as a captured control does. A press with no other button held
// starts afresh: a capture still standing then is one whose release never
// reached the game, as when the window system took a drag of the case over
// (Wayland keeps that release), and the next click must reach its button.

#include <optional>

#include "lcd/core/sprite_layout.h"

namespace pellox {

inline std::optional<SpriteId> SpriteForPress(std::optional<SpriteId> captured, bool other_buttons_held,
                                              std::optional<SpriteId> under_pointer) {
    if (captured && other_buttons_held) return captured;
    return under_pointer;
}

}  // namespace pellox
