// The sound service through real OpenAL Soft, rendered on its loopback device:
// what reaches the mix, without any sound card.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "media/game_sounds.h"
#include "media/core/media_errors.h"
#include "media/openal_sound.h"

namespace pellox {
namespace {

constexpr int kRate = 44100;

std::vector<double> LeftChannel(const std::vector<std::int16_t>& stereo, std::size_t from = 0,
                                std::size_t frames = SIZE_MAX) {
    std::vector<double> left;
    for (std::size_t f = from; f < stereo.size() / 2 && left.size() < frames; ++f) left.push_back(stereo[2 * f]);
    return left;
}

std::vector<double> WaveLeft(const TWave& wave) {
    const auto* samples = reinterpret_cast<const std::int16_t*>(wave.Data());
    return LeftChannel(std::vector<std::int16_t>(samples, samples + wave.DataSize() / 2));
}

double Energy(const std::vector<double>& x) {
    double e = 0;
    for (double v : x) e += v * v;
    return e;
}

// The best normalised correlation of `pattern` against `signal` shifted by up to
// max_lag frames: 1 when the mix carries the pattern unchanged.
double BestCorrelation(const std::vector<double>& signal, const std::vector<double>& pattern, int max_lag = 64) {
    double best = 0;
    for (int lag = 0; lag <= max_lag; ++lag) {
        double dot = 0, es = 0;
        for (std::size_t i = 0; i < pattern.size() && i + lag < signal.size(); ++i) {
            dot += signal[i + lag] * pattern[i];
            es += signal[i + lag] * signal[i + lag];
        }
        if (es > 0) best = std::max(best, dot / std::sqrt(es * Energy(pattern)));
    }
    return best;
}

class LoopbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OpenALLoopbackSystem::Available()) GTEST_SKIP() << "OpenAL without ALC_SOFT_loopback";
        auto system = std::make_unique<OpenALLoopbackSystem>();
        loopback = system.get();
        sounds = std::make_unique<GameSounds>(std::move(system));
        ASSERT_TRUE(sounds->DXSound().Initialized());
    }
    void Render(double ms) { loopback->Render(static_cast<std::size_t>(ms * kRate / 1000)); }

    OpenALLoopbackSystem* loopback = nullptr;
    std::unique_ptr<GameSounds> sounds;
};

TEST_F(LoopbackTest, AStepSoundReachesTheMixAndIsWaitedForByItsLength) {
    const std::vector<double> wave = WaveLeft(sounds->DXWaveList().Items(0).Wave());
    Render(40);
    // Silence before any play (the mixer's dither aside).
    EXPECT_LT(Energy(LeftChannel(loopback->Captured())), 1e-3 * Energy(wave));
    loopback->ClearCapture();
    const double before = loopback->NowSeconds();
    sounds->PlayEffect(Effect::UL, true);  // waited for
    const double waited = loopback->NowSeconds() - before;
    EXPECT_NEAR(waited, 1767.0 / kRate, 0.0005);

    Render(20);
    const std::vector<double> mix = LeftChannel(loopback->Captured());
    EXPECT_GT(BestCorrelation(mix, wave), 0.95);
    // Silent again once the sound has ended.
    EXPECT_LT(Energy(LeftChannel(loopback->Captured(), wave.size() + 64)), 1e-3 * Energy(wave));
}

TEST_F(LoopbackTest, TwoOverlappingCatchesBothSound) {
    TWaveCollectionItem& basket = sounds->DXWaveList().Items(4);
    const std::vector<double> single = WaveLeft(basket.Wave());
    const std::size_t offset = 30 * kRate / 1000;

    sounds->PlayEffect(Effect::Basket, false);
    Render(30);
    sounds->PlayEffect(Effect::Basket, false);  // the first still sounds
    Render(200);
    EXPECT_EQ(basket.ExtraVoiceCount(), 2u);

    // The mix is the catch plus the same catch 30 ms later.
    std::vector<double> expected(single.size() + offset, 0.0);
    for (std::size_t i = 0; i < single.size(); ++i) {
        expected[i] += single[i];
        expected[i + offset] += single[i];
    }
    const std::vector<double> mix = LeftChannel(loopback->Captured());
    EXPECT_GT(BestCorrelation(mix, expected), 0.95);
    // And it is louder where they overlap than the single catch there.
    const std::vector<double> overlap(mix.begin() + offset, mix.begin() + single.size());
    const std::vector<double> single_part(single.begin() + offset, single.end());
    EXPECT_GT(Energy(overlap), 1.5 * Energy(single_part));
}

// A stereo PCM wave file at the test's rate, as a skin would bring one.
void WriteStereoWave(const std::string& path, std::uint16_t bits, const void* samples, std::uint32_t bytes) {
    std::ofstream out(path, std::ios::binary);
    auto put32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto put16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const std::uint16_t frame_bytes = static_cast<std::uint16_t>(2 * bits / 8);
    out.write("RIFF", 4);
    put32(36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(2);
    put32(kRate);
    put32(kRate * frame_bytes);
    put16(frame_bytes);
    put16(bits);
    out.write("data", 4);
    put32(bytes);
    out.write(static_cast<const char*>(samples), bytes);
}

TEST_F(LoopbackTest, ASkinsWaveReplacesTheBuiltInOne) {
    // A skin's upper-left step: 60 ms of a 300 Hz sine, louder than ours.
    const int frames = 60 * kRate / 1000;
    std::vector<std::int16_t> samples;
    for (int f = 0; f < frames; ++f) {
        const auto v = static_cast<std::int16_t>(12000 * std::sin(2 * M_PI * 300.0 * f / kRate));
        samples.push_back(v);
        samples.push_back(v);
    }
    const std::string path = ::testing::TempDir() + "pellox_skin_ul.wav";
    WriteStereoWave(path, 16, samples.data(), static_cast<std::uint32_t>(samples.size() * 2));
    const std::vector<double> builtin = WaveLeft(sounds->DXWaveList().Items(0).Wave());
    ASSERT_TRUE(sounds->LoadEffectFile(Effect::UL, path));

    const double before = loopback->NowSeconds();
    sounds->PlayEffect(Effect::UL, true);
    EXPECT_NEAR(loopback->NowSeconds() - before, 0.060, 0.0005);  // waited by the skin's length
    Render(10);
    const std::vector<double> mix = LeftChannel(loopback->Captured());
    EXPECT_GT(BestCorrelation(mix, LeftChannel(samples)), 0.95);
    EXPECT_LT(BestCorrelation(mix, builtin), 0.5);
    std::remove(path.c_str());
}

TEST_F(LoopbackTest, AWaveInAFormatThatCannotPlayLeavesTheEffectAsItWas) {
    // 24-bit stereo: the reader takes it, the output could not play it.
    const std::string path = ::testing::TempDir() + "pellox_skin_24bit.wav";
    const std::vector<char> silence(600, 0);
    WriteStereoWave(path, 24, silence.data(), static_cast<std::uint32_t>(silence.size()));
    const std::int32_t before = sounds->DXWaveList().Items(0).Wave().DataSize();
    EXPECT_EQ(sounds->LoadEffectFile(Effect::UL, path).reason(), "24 bits a sample: only 8 and 16 play");
    EXPECT_EQ(sounds->DXWaveList().Items(0).Wave().DataSize(), before);
    const double start = loopback->NowSeconds();
    sounds->PlayEffect(Effect::UL, true);  // still the built-in step
    EXPECT_NEAR(loopback->NowSeconds() - start, 1767.0 / kRate, 0.0005);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace pellox
