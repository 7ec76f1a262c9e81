// Letter case in file names, matched for every letter as Windows does.
#include "skin/letter_case.h"

#include <gtest/gtest.h>

#include <QChar>

#include <string>

namespace pellox {
namespace {

// The table is ours (skin/case_fold_runs.inc); Qt carries Unicode's own. A
// newer Qt with a newer Unicode shows here: print the runs again
// (tools/casefold/print_case_fold_runs.cpp).
TEST(LetterCase, FoldsEveryCodePointAsUnicodesSimpleCaseFolding) {
    int differing = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (FoldCase(c) == QChar::toCaseFolded(c)) continue;
        if (++differing <= 10) ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(differing, 0);
}

struct NameCase {
    const char* a;
    const char* b;
    bool same;
};

class SameName : public testing::TestWithParam<NameCase> {};

TEST_P(SameName, MatchesAsWindowsDoes) {
    const NameCase& c = GetParam();
    EXPECT_EQ(SameNameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(SameNameIgnoringCase(c.b, c.a), c.same) << c.b << " / " << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Names, SameName,
    testing::Values(NameCase{"WOLF0.BMP", "wolf0.bmp", true},
                    NameCase{"ВОЛК0.BMP", "волк0.bmp", true},
                    NameCase{"Ёлка.wav", "ёлка.wav", true},
                    NameCase{"Ёлка.wav", "Елка.wav", false},  // Ё is its own letter
                    NameCase{"ΣΟΦΊΑ", "σοφία", true},
                    NameCase{"ÄPFEL", "äpfel", true},
                    NameCase{"Straße", "STRASSE", false},  // simple folding: one letter for one
                    NameCase{"волк", "волки", false},
                    // Windows-1251 bytes ("Волк") against the UTF-8 name ("волк").
                    NameCase{"\xC2\xEE\xEB\xEA", "волк", true},
                    NameCase{"\xC2\xEE\xEB\xEA", "\xE2\xEE\xEB\xEA", true},
                    NameCase{"", "", true}));

}  // namespace
}  // namespace pellox
