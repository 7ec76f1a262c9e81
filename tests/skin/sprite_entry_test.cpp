// Sprite entries: left,top,width,height,path.
#include "skin/sprite_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace pellox {
namespace {

struct GoodEntry {
    std::string value;
    SpriteEntry expected;
};

void PrintTo(const GoodEntry& c, std::ostream* os) { *os << testing::PrintToString(c.value); }

class SpriteEntryAccepted : public testing::TestWithParam<GoodEntry> {};

TEST_P(SpriteEntryAccepted, GivesNumbersAndTheWholePath) {
    const ParsedSpriteEntry parsed = ParseSpriteEntry(GetParam().value);
    ASSERT_TRUE(parsed) << parsed.reason();
    EXPECT_EQ(*parsed, GetParam().expected);
    EXPECT_EQ(parsed.reason(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Values, SpriteEntryAccepted,
    testing::Values(
        GoodEntry{"12,34,56,78,wolf.bmp", {12, 34, 56, 78, "wolf.bmp"}},
        GoodEntry{"010,0,00,0000000000000000000000007,a.bmp", {10, 0, 0, 7, "a.bmp"}},
        GoodEntry{"2147483647,0,1,1,a.bmp", {2147483647, 0, 1, 1, "a.bmp"}},
        GoodEntry{"1,2,3,4,pics/egg, small.bmp", {1, 2, 3, 4, "pics/egg, small.bmp"}},
        GoodEntry{"1,2,3,4,back.bmp ; the grass", {1, 2, 3, 4, "back.bmp ; the grass"}},
        // No path parses; the loader then finds no picture.
        GoodEntry{"1,2,3,4,", {1, 2, 3, 4, ""}}));

struct BadEntry {
    std::string value;
    std::string says;
};

void PrintTo(const BadEntry& c, std::ostream* os) { *os << testing::PrintToString(c.value); }

class SpriteEntryRefused : public testing::TestWithParam<BadEntry> {};

TEST_P(SpriteEntryRefused, FailsAndSaysWhichField) {
    const ParsedSpriteEntry parsed = ParseSpriteEntry(GetParam().value);
    EXPECT_FALSE(parsed);
    EXPECT_NE(parsed.reason().find(GetParam().says), std::string::npos) << parsed.reason();
}

INSTANTIATE_TEST_SUITE_P(
    Values, SpriteEntryRefused,
    testing::Values(
        BadEntry{std::string(kMissingSpriteEntry), "missing"},
        BadEntry{"", "no comma after field 1 (left)"},
        BadEntry{"1,2,3", "no comma after field 3 (width)"},
        BadEntry{"1,2,3,4", "no comma after field 4 (height)"},
        BadEntry{",2,3,4,a.bmp", "field 1 (left) is empty"},
        BadEntry{"1,,3,4,a.bmp", "field 2 (top) is empty"},
        BadEntry{"1, 2,3,4,a.bmp", "not a number in field 2 (top)"},
        BadEntry{"1,2 ,3,4,a.bmp", "not a number in field 2 (top)"},
        BadEntry{"-1,2,3,4,a.bmp", "not a number in field 1 (left)"},
        BadEntry{"+1,2,3,4,a.bmp", "not a number in field 1 (left)"},
        BadEntry{"1,2,3,4x,a.bmp", "not a number in field 4 (height)"},
        BadEntry{"1,2,0x10,4,a.bmp", "not a number in field 3 (width)"},
        // A byte above 127 must not pass as a digit when char is signed.
        BadEntry{"1,2,3,\xB9,a.bmp", "not a number in field 4 (height)"},
        BadEntry{"1,2,\xEF\xBC\x93,4,a.bmp", "not a number in field 3 (width)"},  // full-width 3
        BadEntry{"1,2,2147483648,4,a.bmp", "the number in field 3 (width) is larger than 2147483647"},
        BadEntry{"99999999999999999999999,2,3,4,a.bmp", "field 1 (left) is larger than 2147483647"}));

}  // namespace
}  // namespace pellox
