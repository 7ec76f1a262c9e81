#pragma once
// What the four seven-segment digits show for a score and for the clock.
// Pure decisions: the engine lights the segments from these.

#include <array>
#include <cstdint>

namespace pellox {

inline constexpr int kBlankDigit = 10;

// The value of each place, ones first: [0] ones .. [3] thousands; 0..9 or kBlankDigit.
using DigitValues = std::array<int, 4>;

// Leading zeros are blank, the ones always show. From 10000 on the thousands
// place has no digit to show: it stays blank and the three lower digits go on
// counting.
DigitValues ScoreDigits(std::uint8_t thousands, std::uint8_t hundreds, std::uint8_t low);

struct ClockFace {
    DigitValues digits;
    bool am = true;
};

// A 12-hour clock; noon shows 12 AM and midnight 12 PM, as the handheld does.
ClockFace ClockDigits(int hour, int minute);

}  // namespace pellox
