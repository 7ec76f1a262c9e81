#pragma once
// Every variable of the game, at the width the rules count in: 8-bit counters
// wrap and shift at 8 bits. All zero when the program starts.

#include <array>
#include <cstdint>

namespace pellox {

enum class GameMode : std::uint8_t {
    Armed = 0,
    Playing = 1,
    BonusFlash = 2,
    MissAnim = 3,
    GameOver = 4,
    Demo = 5,
};

// Fixed frame-timer periods of the timed sequences, in milliseconds.
inline constexpr std::int32_t kMissAnimPeriod = 440;
inline constexpr std::int32_t kBonusFlashPeriod = 400;
inline constexpr std::int32_t kGameOverPeriod = 2000;
inline constexpr std::int32_t kDemoPeriod = 250;

// LastCatch when no chute has a recent catch.
inline constexpr std::uint8_t kNoChute = 4;

struct EngineState {
    GameMode GameState = GameMode::Armed;
    // Eggs of each chute: bit 5 the top place .. bit 1 the last place, bit 0 the mouth.
    std::array<std::uint8_t, 4> Chutes{};
    std::uint8_t CurChute = 0;
    bool StepPending = false;
    std::uint8_t WolfPos = 0;
    std::uint8_t LastCatch = 0;
    std::uint8_t OffChute = 0;
    std::uint8_t MissSide = 0;
    std::uint8_t EggsInPlay = 0;
    // In half units; 8 once the end of the game has been announced.
    std::uint8_t Misses = 0;
    std::uint8_t ScoreLow = 0;
    std::uint8_t ScoreHundreds = 0;
    std::uint8_t ScoreThousands = 0;
    std::uint8_t Level = 0;
    std::uint8_t HareCount = 0;
    std::int32_t SeqCount = 0;
    std::int32_t SavedPeriod = 0;
    // The frame timer's period as the engine last set it.
    std::int32_t Period = 0;
    bool SoundOn = false;
    std::uint16_t RecordA = 0;
    std::uint16_t RecordB = 0;
    std::uint8_t ChickBitsL = 0;
    std::uint8_t ChickBitsR = 0;
    std::uint16_t CaptionPos = 0;
    std::uint16_t DemoPhase = 0;
    // The time the clock shows.
    std::uint16_t ShownHour = 0;
    std::uint16_t ShownMinute = 0;
    std::uint32_t RandSeed = 0;
};

// 1000 x thousands + 100 x hundreds + low, as the 16-bit value that is stored.
inline std::uint16_t ScoreValue(const EngineState& s) {
    return static_cast<std::uint16_t>(1000 * s.ScoreThousands + 100 * s.ScoreHundreds + s.ScoreLow);
}

}  // namespace pellox
