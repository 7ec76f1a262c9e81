// The four seven-segment digits: score and clock.
#include <array>
#include <cstdint>

#include "engine/game_engine.h"

namespace pellox {
namespace {

inline constexpr int kBlank = 10;

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
    if (value < 0 || value > kBlank) value = kBlank;
    const auto& segments = tables_.SegmentSprites[static_cast<std::size_t>(place - 1)];
    const auto& pattern = kDigitPatterns[static_cast<std::size_t>(value)];
    for (std::size_t k = 0; k < 7; ++k) display_.SetVisible(segments[k], pattern[k] != 0);
}

void GameEngine::UpdateScore() {
    const int ones = s_.ScoreLow % 10;
    int tens = s_.ScoreLow / 10;
    int hundreds = s_.ScoreHundreds;
    // From 10000 on the thousands place has no digit to show: it stays blank
    // and the three lower digits go on counting.
    int thousands = s_.ScoreThousands >= 10 ? kBlank : s_.ScoreThousands;
    if (thousands == 0) {
        thousands = kBlank;
        if (hundreds == 0) {
            hundreds = kBlank;
            if (tens == 0) tens = kBlank;
        }
    }
    UpdateDigit(1, ones);
    UpdateDigit(2, tens);
    UpdateDigit(3, hundreds);
    UpdateDigit(4, thousands);
    RecalcDifficulty();
}

void GameEngine::UpdateTime(const TimeOfDay& time) {
    s_.ShownHour = static_cast<std::uint16_t>(time.hour);
    s_.ShownMinute = static_cast<std::uint16_t>(time.minute);
    UpdateDigit(1, time.minute % 10);
    UpdateDigit(2, time.minute / 10);
    int h = time.hour % 12;
    bool am = time.hour < 12;
    // Noon shows 12 AM and midnight 12 PM, as the handheld does.
    if (h == 0) {
        h = 12;
        am = !am;
    }
    UpdateDigit(3, h % 10);
    UpdateDigit(4, h >= 10 ? 1 : kBlank);
    if (am) {
        display_.Hide(SpriteId::imPM);
        display_.Show(SpriteId::imAM);
    } else {
        display_.Hide(SpriteId::imAM);
        display_.Show(SpriteId::imPM);
    }
}

}  // namespace pellox
