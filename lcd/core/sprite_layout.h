#pragma once
// The LCD's sprites: identifiers in drawing order (first is the bottom) and
// the built-in layout. Plain C++ so that the engine and tools can use it
// without a window.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pellox {

enum class SpriteId : std::uint8_t {
    imBckgrnd,
    imEggUL1,
    imEggUL2,
    imEggUL3,
    imEggUL4,
    imEggUL5,
    imEggDL1,
    imEggDL2,
    imEggDL3,
    imEggDL4,
    imEggDL5,
    imEggUR1,
    imEggUR2,
    imEggUR3,
    imEggUR4,
    imEggUR5,
    imEggDR5,
    imEggDR4,
    imEggDR3,
    imEggDR2,
    imEggDR1,
    imHare,
    imErr3,
    imErr2,
    imErr1,
    imWolf0,
    imBask1,
    imWolf1,
    imBask3,
    imButtA,
    imButtB,
    imButtT,
    imGameA,
    imGameB,
    imErrL,
    imErrR,
    imErrLf,
    imErrRf,
    imChuckL1,
    imChuckL2,
    imChuckL4,
    imChuckL3,
    imChuckR1,
    imChuckR2,
    imChuckR3,
    imChuckR4,
    imBask0,
    imBask2,
    imD100_DL,
    imD100_DR,
    imD100_D,
    imD100_UL,
    imD100_UR,
    imD100_M,
    imD100_U,
    imD10_UL,
    imD10_U,
    imD10_UR,
    imD10_M,
    imD10_DR,
    imD10_DL,
    imD10_D,
    imD1_UL,
    imD1_U,
    imD1_UR,
    imD1_M,
    imD1_DR,
    imD1_DL,
    imD1_D,
    imD1000_DL,
    imD1000_DR,
    imD1000_D,
    imD1000_UL,
    imD1000_UR,
    imD1000_M,
    imD1000_U,
    imButtX,
    imButtS,
    imColon,
    imAM,
    imPM,
    imBell
};

inline constexpr int kSpriteCount = 82;

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

// All 82 entries in drawing order; index = static_cast<int>(SpriteId).
const std::array<SpriteLayout, kSpriteCount>& BuiltinLayout();

inline const SpriteLayout& LayoutOf(SpriteId id) {
    return BuiltinLayout()[static_cast<std::size_t>(id)];
}
inline constexpr int IndexOf(SpriteId id) { return static_cast<int>(id); }
inline constexpr SpriteId SpriteAt(int index) { return static_cast<SpriteId>(index); }

std::string_view NameOf(SpriteId id);
std::optional<SpriteId> SpriteByName(std::string_view name);

}  // namespace pellox
