// The four seven-segment digits: score and clock.
#include <array>
#include <cstdint>

#include "engine/digits.h"
#include "engine/game_engine.h"

namespace pellox {
namespace {

// Segments U, UL, UR, M, DL, DR, D of the digits 0..9 and blank.
constexpr std::array<std::array<std::uint8_t, 7>, 11> kDigitPatterns{{
    {1, 1, 1, 0, 1, 1, 1},
    {0, 0, 1, 0, 0, 1, 0},
    {1, 0, 1, 1, 1, 0, 1},
    {1, 0, 1, 1, 0, 1, 1},
    {0, 1, 1, 1, 0, 1, 0},
    {1, 1, 0, 1, 0, 1, 1},
    {1, 1, 0, 1, 1, 1, 1},
    {1, 1, 1, 0, 0, 1, 0},
    {1, 1, 1, 1, 1, 1, 1},
    {1, 1, 1, 1, 0, 1, 1},
    {0, 0, 0, 0, 0, 0, 0},
}};

}  // namespace

void GameEngine::UpdateDigit(int place, int value) {
    if (place < 1 || place > 4) return;
    if (value < 0 || value > kBlankDigit) value = kBlankDigit;
    const auto& segments = tables_.SegmentSprites[static_cast<std::size_t>(place - 1)];
    const auto& pattern = kDigitPatterns[static_cast<std::size_t>(value)];
    for (std::size_t k = 0; k < 7; ++k) display_.SetVisible(segments[k], pattern[k] != 0);
}

void GameEngine::UpdateScore() {
    const DigitValues digits = ScoreDigits(s_.ScoreThousands, s_.ScoreHundreds, s_.ScoreLow);
    for (int place = 1; place <= 4; ++place) UpdateDigit(place, digits[static_cast<std::size_t>(place - 1)]);
    RecalcDifficulty();
}

void GameEngine::UpdateTime(const TimeOfDay& time) {
    s_.ShownHour = static_cast<std::uint16_t>(time.hour);
    s_.ShownMinute = static_cast<std::uint16_t>(time.minute);
    const ClockFace face = ClockDigits(time.hour, time.minute);
    for (int place = 1; place <= 4; ++place) UpdateDigit(place, face.digits[static_cast<std::size_t>(place - 1)]);
    if (face.am) {
        display_.Hide(SpriteId::imPM);
        display_.Show(SpriteId::imAM);
    } else {
        display_.Hide(SpriteId::imAM);
        display_.Show(SpriteId::imPM);
    }
}

}  // namespace pellox
