// No sound output at all: the game's sound must stay silent and never block.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "media/diagnostics.h"
#include "media/game_sounds.h"
#include "media/openal_sound.h"

// Before OpenAL Soft reads its configuration: offer it no back-end, the way a
// machine without a sound card and without a sound server does.
static const int kNoBackend = setenv("ALSOFT_DRIVERS", "pellox-no-such-backend", 1);

namespace pellox {
namespace {

TEST(SilentGame, WithoutAnOutputEveryEffectReturnsAtOnce) {
    (void)kNoBackend;
    GameSounds sounds;  // the device cannot be made: swallowed
    EXPECT_FALSE(sounds.DXSound().Initialized());
    ASSERT_EQ(sounds.DXWaveList().Count(), 8u);
    EXPECT_EQ(sounds.DXWaveList().Items(0).Wave().DataSize(), 7068);  // built-ins are loaded all the same
    // Its length, as the skin preview shows it: 1767 frames of 16-bit stereo at 44100 Hz.
    ASSERT_TRUE(sounds.EffectSeconds(Effect::UL).has_value());
    EXPECT_DOUBLE_EQ(*sounds.EffectSeconds(Effect::UL), 1767.0 / 44100.0);

    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 10; ++round)
        for (Effect e : kAllEffects) sounds.PlayEffect(e, WaitsForItsEnd(e));
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    // Forty waited chute steps would take 1.6 s with sound.
    EXPECT_LT(ms, 40.0);
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(sounds.DXWaveList().Items(i).Attached());
}

TEST(SilentGame, WithoutTheSoundLibraryTheWindowSaysWhyAndPlaysSilently) {
    UsePelloxMessagePattern();  // as the program starts
    GameSounds sounds(std::make_unique<OpenALSoundSystem>("libpellox-no-such-openal.so.1"), OutputOpens::WithTheWindow);
    testing::internal::CaptureStderr();
    sounds.OpenOutput();
    sounds.OpenOutput();  // shown again: said once
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(sounds.DXSound().Initialized());
    EXPECT_NE(said.find("pellox: the sound library cannot be loaded (libpellox-no-such-openal.so.1"), std::string::npos)
        << said;
    EXPECT_NE(said.find("pellox: no sound output found: the game plays silently\n"), std::string::npos) << said;
    EXPECT_EQ(said.find("cannot be loaded", said.find("cannot be loaded") + 1), std::string::npos) << said;

    for (Effect e : kAllEffects) sounds.PlayEffect(e, WaitsForItsEnd(e));
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(sounds.DXWaveList().Items(i).Attached());
}

}  // namespace
}  // namespace pellox
