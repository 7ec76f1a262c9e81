#pragma once
// The program's one random generator: a 32-bit linear congruential generator.
// random(n) is the high half of the 64-bit product n x seed after the step.

#include <cstdint>

namespace pellox {

inline constexpr std::uint32_t kRandomMultiplier = 134775813u;

// A uniform number 0..n-1; advances seed.
inline std::uint32_t NextRandom(std::uint32_t& seed, std::uint32_t n) {
    seed = seed * kRandomMultiplier + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * seed) >> 32);
}

}  // namespace pellox
