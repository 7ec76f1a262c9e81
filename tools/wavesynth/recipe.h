#pragma once
// A sound recipe: the eight effects described as text, so that a skin can
// have sounds of its own made by the same synthesiser as the built-in ones.
//
//   # a comment
//   soften 3000                          low-pass cutoff for every sound (Hz)
//   sound UL 1767                        effect name, length in frames, [16|18]
//   tone sine 0 40 523.3 523.3 0.2 6     shape start_ms length_ms from_hz to_hz level [fade_ms]
//   crackle 0 120 900 300 0.2 0x5eed     start_ms length_ms from_hz to_hz level seed
//
// Each of the eight effects of engine/effects.h comes exactly once; its parts
// follow its `sound` line and must end within the sound.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/effects.h"
#include "tools/wavesynth/synth.h"

namespace pellox::wavesynth {

struct RecipePart {
    bool crackle = false;  // else a tone
    WaveShape shape = WaveShape::Square;
    double start_ms = 0, length_ms = 0, from_hz = 0, to_hz = 0, level = 0, fade_ms = 3;
    std::uint32_t seed = 0;
};

struct RecipeSound {
    Effect effect = Effect::UL;
    std::size_t frames = 0;
    int format_size = 16;  // 16, or 18 with a further-bytes count
    std::vector<RecipePart> parts;
};

struct Recipe {
    double soften_hz = 6000.0;
    std::vector<RecipeSound> sounds;  // one per effect, in the effects' order
};

struct RecipeResult {
    std::optional<Recipe> recipe;
    std::string error;  // "line N: why", or what is missing
};

RecipeResult ParseRecipe(std::string_view text);

// Adds the part to the track.
void Play(const RecipePart& part, Track& track);

}  // namespace pellox::wavesynth
