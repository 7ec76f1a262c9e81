#include "engine/record_codec.h"

#include <gtest/gtest.h>

namespace pellox {
namespace {

TEST(RecordCodecTest, WorkedValues) {
    struct Case {
        std::uint16_t score;
        std::uint32_t code, stored;
    };
    const Case cases[] = {{0, 0x000000, 0x80000000}, {1, 0x200004, 0x80200004},   {100, 0x051920, 0x80051920},
                          {999, 0x653720, 0x80653720}, {1000, 0x093720, 0x80093720}, {9999, 0x7E0650, 0x807E0650}};
    for (const Case& k : cases) {
        EXPECT_EQ(EncodeRecord(k.score), k.code) << k.score;
        EXPECT_EQ(StoredRecordValue(k.score), k.stored) << k.score;
        EXPECT_EQ(ScoreOfStoredValue(k.stored), k.score);
    }
}

TEST(RecordCodecTest, EveryScoreComesBackAndAnyOneCodeBitChangedReadsZero) {
    for (std::uint32_t v = 0; v <= 0xFFFF; ++v) {
        const std::uint32_t code = EncodeRecord(static_cast<std::uint16_t>(v));
        ASSERT_LT(code, 1u << 24);
        ASSERT_EQ(DecodeRecord(code), v);
        for (int bit = 0; bit < 24; ++bit) ASSERT_EQ(DecodeRecord(code ^ (1u << bit)), 0) << v << " bit " << bit;
        // Bits 24..31 play no part.
        ASSERT_EQ(DecodeRecord(code | 0x7F000000u), v);
        ASSERT_EQ(ScoreOfStoredValue(code ^ 0x55000000u), v);
    }
}

}  // namespace
}  // namespace pellox
