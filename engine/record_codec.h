#pragma once
// The stored-score code: a 16-bit score as eight 2-bit pairs in reverse order,
// each 3-bit group carrying the parity of the pair that sits mirrored to it.

#include <cstdint>

namespace pellox {

// The 24-bit code of a score.
std::uint32_t EncodeRecord(std::uint16_t score);
// The score of a code (bits 24..31 are ignored), or 0 when a parity bit is wrong.
std::uint16_t DecodeRecord(std::uint32_t code);

// What is written for a score, and the score of what was read.
inline constexpr std::uint32_t kStoredBit = 0x80000000u;
inline std::uint32_t StoredRecordValue(std::uint16_t score) { return EncodeRecord(score) + kStoredBit; }
inline std::uint16_t ScoreOfStoredValue(std::uint32_t stored) { return DecodeRecord(stored - kStoredBit); }

}  // namespace pellox
