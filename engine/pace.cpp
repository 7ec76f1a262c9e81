#include "engine/pace.h"

namespace pellox {

std::int32_t PlayingPeriod(std::uint8_t thousands, std::uint8_t hundreds, std::uint8_t low) {
    if (thousands >= 3) return kFastestPeriod;
    const std::int32_t t = thousands, h = hundreds, l = low;
    const std::int32_t a = 120 - ((84 * h) >> 3);
    const std::int32_t x = ((l * a) / 100 + 36 * h) / (t + 1);
    return (530 - 180 * t - x) >> 1;
}

}  // namespace pellox
