#include "engine/digits.h"

namespace pellox {

DigitValues ScoreDigits(std::uint8_t thousands_count, std::uint8_t hundreds_count, std::uint8_t low) {
    const int ones = low % 10;
    int tens = low / 10;
    int hundreds = hundreds_count;
    int thousands = thousands_count >= 10 ? kBlankDigit : thousands_count;
    if (thousands == 0) {
        thousands = kBlankDigit;
        if (hundreds == 0) {
            hundreds = kBlankDigit;
            if (tens == 0) tens = kBlankDigit;
        }
    }
    return {ones, tens, hundreds, thousands};
}

ClockFace ClockDigits(int hour, int minute) {
    int h = hour % 12;
    bool am = hour < 12;
    if (h == 0) {
        h = 12;
        am = !am;
    }
    return {{minute % 10, minute / 10, h % 10, h >= 10 ? 1 : kBlankDigit}, am};
}

}  // namespace pellox
