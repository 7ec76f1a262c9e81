#pragma once
// The LCD's sprites: identifiers in drawing order (first is the bottom) and
// the built-in layout. Plain C++ so that the engine and tools can use it
// without a window. The sprites, their boxes and how they start are listed
// once, in lcd/core/sprite_layout.txt; the build makes SpriteId
// (imBckgrnd ... imBell) and kSpriteCount in sprite_ids.h from it, and the
// rows of BuiltinLayout.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "lcd/core/sprite_ids.h"

namespace pellox {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The window's own colour key: pixels of exactly this colour are see-through.
inline constexpr Rgb kPurple{128, 0, 128};
inline constexpr Rgb kMagenta{255, 0, 255};

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    constexpr bool contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
    friend constexpr bool operator==(const Bounds&, const Bounds&) = default;
};

struct SpriteLayout {
    std::string_view name;
    std::string_view role;
    Bounds bounds;
    bool visibleAtStart;
    bool transparent;
    // Key colour of the built-in picture (its lower-left pixel).
    Rgb builtinKey;
};

// All entries in drawing order; index = static_cast<int>(SpriteId).
const std::array<SpriteLayout, kSpriteCount>& BuiltinLayout();

inline const SpriteLayout& LayoutOf(SpriteId id) {
    return BuiltinLayout()[static_cast<std::size_t>(id)];
}
inline constexpr int IndexOf(SpriteId id) { return static_cast<int>(id); }
inline constexpr SpriteId SpriteAt(int index) { return static_cast<SpriteId>(index); }

std::string_view NameOf(SpriteId id);
std::optional<SpriteId> SpriteByName(std::string_view name);

}  // namespace pellox
