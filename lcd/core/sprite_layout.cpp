#include "lcd/core/sprite_layout.h"

namespace pellox {

const std::array<SpriteLayout, kSpriteCount>& BuiltinLayout() {
    static const std::array<SpriteLayout, kSpriteCount> layout{{
    {"imBckgrnd", "background: the whole handheld with the empty LCD; drag handle of the window", {0, 0, 875, 532}, true, true, kMagenta},
    {"imEggUL1", "egg in chute UL at step 1", {265, 216, 16, 15}, false, true, kMagenta},
    {"imEggUL2", "egg in chute UL at step 2", {280, 223, 13, 18}, false, true, kMagenta},
    {"imEggUL3", "egg in chute UL at step 3", {293, 234, 15, 15}, false, true, kPurple},
    {"imEggUL4", "egg in chute UL at step 4", {308, 241, 16, 16}, false, true, kPurple},
    {"imEggUL5", "egg in chute UL at step 5", {321, 253, 16, 15}, false, true, kPurple},
    {"imEggDL1", "egg in chute DL at step 1", {263, 276, 16, 16}, false, true, kPurple},
    {"imEggDL2", "egg in chute DL at step 2", {278, 281, 16, 16}, false, true, kPurple},
    {"imEggDL3", "egg in chute DL at step 3", {290, 293, 18, 13}, false, true, kPurple},
    {"imEggDL4", "egg in chute DL at step 4", {307, 301, 14, 16}, false, true, kPurple},
    {"imEggDL5", "egg in chute DL at step 5", {323, 311, 19, 13}, false, true, kPurple},
    {"imEggUR1", "egg in chute UR at step 1", {600, 217, 14, 15}, false, true, kPurple},
    {"imEggUR2", "egg in chute UR at step 2", {586, 222, 12, 18}, false, true, kPurple},
    {"imEggUR3", "egg in chute UR at step 3", {569, 232, 16, 16}, false, true, kPurple},
    {"imEggUR4", "egg in chute UR at step 4", {555, 244, 18, 13}, false, true, kPurple},
    {"imEggUR5", "egg in chute UR at step 5", {542, 254, 12, 17}, false, true, kPurple},
    {"imEggDR5", "egg in chute DR at step 5", {540, 311, 15, 16}, false, true, kPurple},
    {"imEggDR4", "egg in chute DR at step 4", {554, 304, 18, 13}, false, true, kPurple},
    {"imEggDR3", "egg in chute DR at step 3", {569, 293, 16, 15}, false, true, kPurple},
    {"imEggDR2", "egg in chute DR at step 2", {584, 283, 12, 18}, false, true, kPurple},
    {"imEggDR1", "egg in chute DR at step 1", {598, 277, 18, 13}, false, true, kPurple},
    {"imHare", "the hare (upper left of the LCD)", {294, 145, 58, 75}, true, true, kPurple},
    {"imErr3", "miss mark 3", {452, 206, 27, 28}, false, true, kPurple},
    {"imErr2", "miss mark 2", {482, 206, 28, 28}, false, true, kPurple},
    {"imErr1", "miss mark 1", {514, 206, 26, 28}, false, true, kMagenta},
    {"imWolf0", "wolf facing left", {371, 242, 77, 124}, true, true, kPurple},
    {"imBask1", "basket held at UR", {497, 251, 55, 54}, false, true, kPurple},
    {"imWolf1", "wolf facing right", {437, 248, 69, 117}, false, true, kPurple},
    {"imBask3", "basket held at DR", {490, 305, 60, 49}, false, true, kPurple},
    {"imButtA", "Game A button", {741, 76, 36, 20}, true, true, kMagenta},
    {"imButtB", "Game B button", {741, 136, 35, 19}, true, true, kMagenta},
    {"imButtT", "Time button", {742, 194, 35, 19}, true, true, kMagenta},
    {"imGameA", "Game A label on the LCD", {254, 379, 51, 13}, false, true, kPurple},
    {"imGameB", "Game B label on the LCD", {574, 381, 50, 14}, false, true, kPurple},
    {"imErrL", "broken shell on the floor, left", {310, 361, 58, 16}, false, true, kPurple},
    {"imErrR", "broken shell on the floor, right", {501, 365, 59, 16}, false, true, kPurple},
    {"imErrLf", "smashed egg, left", {326, 359, 25, 28}, false, true, kPurple},
    {"imErrRf", "smashed egg, right", {518, 361, 24, 27}, false, true, kPurple},
    {"imChuckL1", "chick running away, left side, step 1", {301, 323, 32, 30}, false, true, kPurple},
    {"imChuckL2", "chick running away, left side, step 2", {290, 346, 17, 24}, false, true, kPurple},
    {"imChuckL4", "chick running away, left side, step 4", {247, 347, 21, 22}, false, true, kPurple},
    {"imChuckL3", "chick running away, left side, step 3", {271, 346, 19, 22}, false, true, kPurple},
    {"imChuckR1", "chick running away, right side, step 1", {547, 328, 30, 29}, false, true, kPurple},
    {"imChuckR2", "chick running away, right side, step 2", {574, 348, 18, 24}, false, true, kPurple},
    {"imChuckR3", "chick running away, right side, step 3", {594, 348, 17, 24}, false, true, kPurple},
    {"imChuckR4", "chick running away, right side, step 4", {617, 348, 14, 26}, false, true, kPurple},
    {"imBask0", "basket held at UL", {330, 240, 62, 58}, false, true, kPurple},
    {"imBask2", "basket held at DL", {326, 299, 68, 56}, true, true, kPurple},
    {"imD100_DL", "hundreds digit, lower left segment (DL)", {460, 177, 7, 15}, false, true, kPurple},
    {"imD100_DR", "hundreds digit, lower right segment (DR)", {473, 177, 8, 15}, false, true, kPurple},
    {"imD100_D", "hundreds digit, bottom segment (D)", {464, 190, 10, 6}, false, true, kPurple},
    {"imD100_UL", "hundreds digit, upper left segment (UL)", {461, 158, 7, 16}, false, true, kPurple},
    {"imD100_UR", "hundreds digit, upper right segment (UR)", {475, 159, 7, 16}, false, true, kPurple},
    {"imD100_M", "hundreds digit, middle segment (M)", {465, 173, 11, 6}, false, true, kPurple},
    {"imD100_U", "hundreds digit, top segment (U)", {468, 154, 10, 6}, false, true, kPurple},
    {"imD10_UL", "tens digit, upper left segment (UL)", {507, 158, 7, 16}, false, true, kPurple},
    {"imD10_U", "tens digit, top segment (U)", {514, 154, 10, 6}, false, true, kPurple},
    {"imD10_UR", "tens digit, upper right segment (UR)", {521, 159, 7, 16}, false, true, kPurple},
    {"imD10_M", "tens digit, middle segment (M)", {511, 173, 11, 6}, false, true, kPurple},
    {"imD10_DR", "tens digit, lower right segment (DR)", {519, 177, 8, 15}, false, true, kPurple},
    {"imD10_DL", "tens digit, lower left segment (DL)", {506, 177, 7, 15}, false, true, kPurple},
    {"imD10_D", "tens digit, bottom segment (D)", {510, 190, 10, 6}, false, true, kPurple},
    {"imD1_UL", "ones digit, upper left segment (UL)", {543, 158, 7, 16}, true, true, kPurple},
    {"imD1_U", "ones digit, top segment (U)", {550, 154, 10, 6}, true, true, kPurple},
    {"imD1_UR", "ones digit, upper right segment (UR)", {557, 159, 7, 16}, true, true, kPurple},
    {"imD1_M", "ones digit, middle segment (M)", {547, 173, 11, 6}, false, true, kPurple},
    {"imD1_DR", "ones digit, lower right segment (DR)", {555, 177, 8, 15}, true, true, kPurple},
    {"imD1_DL", "ones digit, lower left segment (DL)", {542, 177, 7, 15}, true, true, kPurple},
    {"imD1_D", "ones digit, bottom segment (D)", {546, 190, 10, 6}, true, true, kPurple},
    {"imD1000_DL", "thousands digit, lower left segment (DL)", {423, 177, 7, 15}, false, true, kPurple},
    {"imD1000_DR", "thousands digit, lower right segment (DR)", {436, 177, 8, 15}, false, true, kPurple},
    {"imD1000_D", "thousands digit, bottom segment (D)", {427, 190, 10, 6}, false, true, kPurple},
    {"imD1000_UL", "thousands digit, upper left segment (UL)", {424, 158, 7, 16}, false, true, kPurple},
    {"imD1000_UR", "thousands digit, upper right segment (UR)", {438, 159, 7, 16}, false, true, kPurple},
    {"imD1000_M", "thousands digit, middle segment (M)", {428, 173, 11, 6}, false, true, kPurple},
    {"imD1000_U", "thousands digit, top segment (U)", {431, 154, 10, 6}, false, true, kPurple},
    {"imButtX", "exit button (not transparent)", {808, 167, 19, 18}, true, false, kPurple},
    {"imButtS", "sound button (not transparent)", {809, 109, 18, 16}, true, false, kPurple},
    {"imColon", "clock colon", {488, 162, 9, 27}, false, true, kPurple},
    {"imAM", "AM mark", {397, 155, 30, 20}, false, true, kPurple},
    {"imPM", "PM mark", {397, 179, 30, 20}, false, true, kPurple},
    {"imBell", "bell: sound is on", {372, 164, 24, 25}, true, true, kPurple},
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
