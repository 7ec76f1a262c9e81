// wavesynth OUTDIR: writes one <Name>.wav per effect of engine/effects.h
// (UL, UR, DL, DR, Basket, Crack, Chuck, GO), the game's own buzzer sounds.
// wavesynth --recipe FILE OUTDIR: the same eight files, made as the recipe
// says (see recipe.h): a skin's own sounds.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "engine/effects.h"
#include "tools/wavesynth/recipe.h"
#include "tools/wavesynth/riff_writer.h"
#include "tools/wavesynth/synth.h"

namespace {

using pellox::wavesynth::Track;

// A recipe is a page of text; anything far larger is not one.
constexpr std::uintmax_t kMaxRecipeBytes = 1 << 20;

struct Sound {
    pellox::Effect effect;
    std::size_t frames;   // the effect's exact length
    int format_size;      // 16, or 18 with a further-bytes count
    std::function<void(Track&)> compose;
};

// The four chute steps: one short beep each, upper chutes higher than lower,
// right a step above left.
void Step(Track& t, double hz) { t.Tone(0, 40, hz, hz, 0.17, 3); }

const Sound kSounds[] = {
    {pellox::Effect::UL, 1767, 16, [](Track& t) { Step(t, 1046.5); }},
    {pellox::Effect::UR, 1768, 16, [](Track& t) { Step(t, 1174.7); }},
    {pellox::Effect::DL, 1768, 16, [](Track& t) { Step(t, 784.0); }},
    {pellox::Effect::DR, 1768, 16, [](Track& t) { Step(t, 880.0); }},
    // The catch: a quick rising pair of blips.
    {pellox::Effect::Basket, 4977, 18,
     [](Track& t) {
         t.Tone(0, 48, 1568.0, 1568.0, 0.16, 3);
         t.Tone(58, 54, 2093.0, 2093.0, 0.16, 4);
     }},
    // The fall: a snap of crackle, then a low, sinking buzz.
    {pellox::Effect::Crack, 14555, 16,
     [](Track& t) {
         t.Crackle(0, 120, 900.0, 300.0, 0.22, 0x5eed1234u);
         t.Tone(130, 195, 330.0, 165.0, 0.14, 6);
     }},
    // The chick: two chirps sweeping upwards.
    {pellox::Effect::Chuck, 6301, 16,
     [](Track& t) {
         t.Tone(0, 60, 1800.0, 2800.0, 0.14, 4);
         t.Tone(76, 64, 2000.0, 3000.0, 0.14, 4);
     }},
    // Game over: four falling notes.
    {pellox::Effect::GO, 28377, 18,
     [](Track& t) {
         const double notes[] = {784.0, 659.3, 523.3, 392.0};
         for (int i = 0; i < 4; ++i) t.Tone(i * 160.0, i == 3 ? 160.0 : 140.0, notes[i], notes[i], 0.16, 6);
     }},
};

// One sound for each effect, in the effects' order.
constexpr bool InEffectOrder() {
    if (std::size(kSounds) != pellox::kEffectCount) return false;
    for (std::size_t i = 0; i < std::size(kSounds); ++i)
        if (pellox::EffectIndex(kSounds[i].effect) != i) return false;
    return true;
}

// Renders one effect, checks its loudness and writes it; false after saying why.
bool WriteSound(const std::string& dir, pellox::Effect effect, std::size_t frames, int format_size,
                double soften_hz, const std::function<void(Track&)>& compose) {
    const std::string name(pellox::EffectName(effect));
    Track track(frames);
    compose(track);
    track.Soften(soften_hz);
    track.FadeOutEnd(2.0);
    // Comfortable and never clipped.
    if (track.Peak() > 0.5) {
        std::fprintf(stderr, "wavesynth: %s peaks at %.2f\n", name.c_str(), track.Peak());
        return false;
    }
    const std::string path = dir + "/" + name + ".wav";
    if (!pellox::wavesynth::WriteWave(path, track.Stereo16(), format_size)) {
        std::fprintf(stderr, "wavesynth: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

int FromRecipe(const std::string& recipe_path, const std::string& dir) {
    // A regular file only: a FIFO would block and /dev/zero never ends.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(recipe_path, ec)) {
        std::fprintf(stderr, "wavesynth: %s is not a readable file\n", recipe_path.c_str());
        return 1;
    }
    if (std::filesystem::file_size(recipe_path, ec) > kMaxRecipeBytes || ec) {
        std::fprintf(stderr, "wavesynth: %s is too large for a recipe\n", recipe_path.c_str());
        return 1;
    }
    std::ifstream file(recipe_path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "wavesynth: cannot read %s\n", recipe_path.c_str());
        return 1;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const pellox::wavesynth::RecipeResult parsed = pellox::wavesynth::ParseRecipe(text);
    if (!parsed.recipe) {
        std::fprintf(stderr, "wavesynth: %s: %s\n", recipe_path.c_str(), parsed.error.c_str());
        return 1;
    }
    for (const pellox::wavesynth::RecipeSound& sound : parsed.recipe->sounds) {
        const auto compose = [&](Track& t) {
            for (const auto& part : sound.parts) pellox::wavesynth::Play(part, t);
        };
        if (!WriteSound(dir, sound.effect, sound.frames, sound.format_size, parsed.recipe->soften_hz, compose))
            return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--recipe") return FromRecipe(argv[2], argv[3]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: wavesynth OUTDIR\n       wavesynth --recipe FILE OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    if (!InEffectOrder()) {
        std::fprintf(stderr, "wavesynth: the sound table does not follow the effects\n");
        return 1;
    }
    for (const Sound& sound : kSounds) {
        if (!WriteSound(dir, sound.effect, sound.frames, sound.format_size, 6000.0, sound.compose)) return 1;
    }
    return 0;
}
