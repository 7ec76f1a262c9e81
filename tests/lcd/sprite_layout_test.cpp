#include <set>
#include <string>

#include <gtest/gtest.h>

#include "lcd/core/sprite_layout.h"
#include "lcd/core/sprite_model.h"
#include "lcd/core/sprite_tables.h"

namespace pellox {
namespace {

TEST(SpriteLayout, HasEightyTwoUniquelyNamedEntriesFoundByName) {
    std::set<std::string_view> names;
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        names.insert(NameOf(id));
        ASSERT_EQ(SpriteByName(NameOf(id)), id) << NameOf(id);
    }
    EXPECT_EQ(names.size(), 82u);
    EXPECT_FALSE(SpriteByName("imNothing").has_value());
}

TEST(SpriteLayout, DrawingOrderStartsWithBackgroundAndEndsWithBell) {
    EXPECT_EQ(SpriteAt(0), SpriteId::imBckgrnd);
    EXPECT_EQ(NameOf(SpriteAt(21)), "imHare");
    EXPECT_EQ(NameOf(SpriteAt(76)), "imButtX");
    EXPECT_EQ(SpriteAt(81), SpriteId::imBell);
    EXPECT_EQ(LayoutOf(SpriteId::imBckgrnd).bounds, (Bounds{0, 0, 875, 532}));
    EXPECT_EQ(LayoutOf(SpriteId::imEggDR1).bounds, (Bounds{598, 277, 18, 13}));
}

TEST(SpriteLayout, OnlyExitAndSoundButtonsAreOpaque) {
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        const bool opaque = id == SpriteId::imButtX || id == SpriteId::imButtS;
        EXPECT_EQ(LayoutOf(id).transparent, !opaque) << NameOf(id);
    }
}

TEST(SpriteLayout, StartStateShowsHandheldWolfAtLowerLeftAndAZero) {
    std::set<std::string_view> shown;
    for (const auto& s : BuiltinLayout())
        if (s.visibleAtStart) shown.insert(s.name);
    const std::set<std::string_view> expected{
        "imBckgrnd", "imHare",  "imWolf0", "imButtA", "imButtB", "imButtT", "imBask2",
        "imD1_UL",   "imD1_U",  "imD1_UR", "imD1_DR", "imD1_DL", "imD1_D",  "imButtX",
        "imButtS",   "imBell"};
    EXPECT_EQ(shown, expected);
}

TEST(SpriteTables, BindToTheRightSpritesInIndexOrder) {
    const SpriteTables t = BindSpriteTables();
    const char* chutes[] = {"UL", "UR", "DL", "DR"};
    for (int c = 0; c < 4; ++c)
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ(NameOf(t.EggSprites[c][s]), "imEgg" + std::string(chutes[c]) + std::to_string(s + 1));
    for (int p = 0; p < 4; ++p) EXPECT_EQ(NameOf(t.BasketSprites[p]), "imBask" + std::to_string(p));
    EXPECT_EQ(NameOf(t.WolfSprites[0]), "imWolf0");
    EXPECT_EQ(NameOf(t.WolfSprites[1]), "imWolf1");
    for (int m = 0; m < 3; ++m) EXPECT_EQ(NameOf(t.MissMarkSprites[m]), "imErr" + std::to_string(m + 1));
    const char* sides[] = {"L", "R"};
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(NameOf(t.FloorSprites[side][0]), std::string("imErr") + sides[side]);
        EXPECT_EQ(NameOf(t.FloorSprites[side][1]), std::string("imErr") + sides[side] + "f");
        for (int step = 1; step <= 4; ++step)
            EXPECT_EQ(NameOf(t.FloorSprites[side][step + 1]),
                      std::string("imChuck") + sides[side] + std::to_string(step));
    }
    const char* digits[] = {"imD1_", "imD10_", "imD100_", "imD1000_"};
    const char* segments[] = {"U", "UL", "UR", "M", "DL", "DR", "D"};
    for (int d = 0; d < 4; ++d)
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(NameOf(t.SegmentSprites[d][k]), std::string(digits[d]) + segments[k]);
}

TEST(SpriteModel, ReportsOnlyRealChangesWithTheTouchedRectangle) {
    SpriteModel model;
    std::vector<std::pair<SpriteChange, Bounds>> seen;
    model.SetListener([&](SpriteId, SpriteChange c, const Bounds& b) { seen.emplace_back(c, b); });

    model.Show(SpriteId::imHare);  // already shown
    model.Hide(SpriteId::imEggUL1);  // already hidden
    EXPECT_TRUE(seen.empty());

    model.Show(SpriteId::imEggUL1);
    EXPECT_TRUE(model.IsVisible(SpriteId::imEggUL1));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].second, (Bounds{265, 216, 16, 15}));

    model.SetTop(SpriteId::imButtA, 77);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].first, SpriteChange::Geometry);
    EXPECT_EQ(seen[1].second, (Bounds{741, 76, 36, 21}));  // old and new box together
}

}  // namespace
}  // namespace pellox
