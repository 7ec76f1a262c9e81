#include "lcd/core/sprite_layout.h"

namespace pellox {

const std::array<SpriteLayout, kSpriteCount>& BuiltinLayout() {
    static const std::array<SpriteLayout, kSpriteCount> layout{{
#include "lcd/core/sprite_layout_rows.inc"
    }};
    return layout;
}

std::string_view NameOf(SpriteId id) { return LayoutOf(id).name; }

std::optional<SpriteId> SpriteByName(std::string_view name) {
    const auto& layout = BuiltinLayout();
    for (int i = 0; i < kSpriteCount; ++i) {
        if (layout[static_cast<std::size_t>(i)].name == name) return SpriteAt(i);
    }
    return std::nullopt;
}

}  // namespace pellox
