#pragma once
// The eight sound effects, in the order of the game window's effect list.
// A skin's SOUNDS section and the built-in waves are named and ordered by this.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pellox {

enum class Effect : std::uint8_t {
    UL,      // an egg steps down the upper left chute
    UR,      // ... upper right
    DL,      // ... lower left
    DR,      // ... lower right
    Basket,  // an egg caught
    Crack,   // an egg fallen
    Chuck,   // a chick's step
    GO,      // the game is over
};

inline constexpr std::size_t kEffectCount = 8;

// The build reads the names from the next line to name the built-in waves:
// keep it on one line, in the order of Effect.
inline constexpr std::array<std::string_view, kEffectCount> kEffectNames{"UL", "UR", "DL", "DR", "Basket", "Crack", "Chuck", "GO"};

constexpr std::size_t EffectIndex(Effect effect) { return static_cast<std::size_t>(effect); }
constexpr std::string_view EffectName(Effect effect) { return kEffectNames[EffectIndex(effect)]; }

inline constexpr std::array<Effect, kEffectCount> kAllEffects{
    Effect::UL, Effect::UR, Effect::DL, Effect::DR, Effect::Basket, Effect::Crack, Effect::Chuck, Effect::GO};

// The step of a chute (0 UL, 1 UR, 2 DL, 3 DR).
constexpr Effect ChuteStepEffect(std::uint8_t chute) { return static_cast<Effect>(chute & 3); }

// The chute steps hold the tick until they have sounded, so that the eggs
// move in time with their beeps; every other effect plays on beside the game.
constexpr bool WaitsForItsEnd(Effect effect) { return effect <= Effect::DR; }

}  // namespace pellox
