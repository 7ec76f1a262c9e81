// The sound device and the effect list on a fake back-end and a fake clock.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "media/core/dx_sound.h"
#include "media/core/media_errors.h"
#include "media/core/wave_list.h"
#include "tests/media/expect_error.h"
#include "tests/media/fake_sound.h"

namespace pellox {
namespace {

using testing::ExpectError;
using testing::FakeSoundSystem;
using testing::FakeVoice;

std::vector<std::uint8_t> StereoFormat() {
    return {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0, 4, 0, 16, 0};
}

// A stereo 16-bit 44.1 kHz wave of the given number of frames.
TWave MakeWave(std::int32_t frames) {
    TWave wave;
    wave.SetFormat(StereoFormat());
    wave.SetDataSize(frames * 4);
    return wave;
}

constexpr std::int32_t kBasketFrames = 4977;  // 112.857 ms
constexpr double kBasketLength = kBasketFrames / 44100.0;

class EffectListTest : public ::testing::Test {
protected:
    FakeSoundSystem system;
    TDXSound sound{system};
    TDXWaveList list;
    TWaveCollectionItem& effect = list.Add("Basket");

    void SetUp() override {
        effect.Wave() = MakeWave(kBasketFrames);
        list.SetDXSound(&sound);
        sound.Loaded();
    }
    FakeVoice& Extra(std::size_t i) { return *static_cast<FakeVoice*>(effect.ExtraVoice(i)); }
    FakeVoice& Main() { return *static_cast<FakeVoice*>(effect.MainVoice()); }
};

TEST_F(EffectListTest, OverlappingPlaysEachGetAVoiceSharingOneSampleCopy) {
    ASSERT_TRUE(effect.Attached());
    ASSERT_TRUE(effect.HasMainVoice());
    effect.PlayEffect(false);
    system.world.now += 0.05;
    effect.PlayEffect(false);  // the first still sounds
    ASSERT_EQ(effect.ExtraVoiceCount(), 2u);
    EXPECT_TRUE(Extra(0).Sounding());
    EXPECT_TRUE(Extra(1).Sounding());
    EXPECT_EQ(Extra(0).Samples(), Main().Samples());
    EXPECT_EQ(Extra(1).Samples(), Main().Samples());
    EXPECT_EQ(system.world.sample_buffers, 1);
    EXPECT_FALSE(Main().Sounding());  // the main voice is only the template

    system.world.now += 0.1;  // the first has ended, the second still sounds
    effect.PlayEffect(false);
    EXPECT_EQ(effect.ExtraVoiceCount(), 2u);
    EXPECT_EQ(Extra(0).plays, 2);
    EXPECT_EQ(Extra(1).plays, 1);
}

TEST_F(EffectListTest, MaxPlayingCountCutsOffTheOldestVoice) {
    effect.SetMaxPlayingCount(2);
    effect.PlayEffect(false);
    effect.PlayEffect(false);
    FakeVoice* first = &Extra(0);
    FakeVoice* second = &Extra(1);
    system.world.now += 0.01;
    effect.PlayEffect(false);
    ASSERT_EQ(effect.ExtraVoiceCount(), 2u);
    EXPECT_EQ(&Extra(0), second);  // the cut-off voice went to the end of the list
    EXPECT_EQ(&Extra(1), first);
    EXPECT_EQ(first->plays, 2);
    EXPECT_GE(first->stops, 2);

    effect.SetMaxPlayingCount(-3);
    EXPECT_EQ(effect.MaxPlayingCount(), 0);
    EXPECT_EQ(effect.ExtraVoiceCount(), 0u);  // a new limit frees the extra voices
}

TEST_F(EffectListTest, LoopedPlaysOnTheMainVoiceAndNeverWaits) {
    effect.SetLooped(true);
    effect.PlayEffect(true);
    EXPECT_EQ(system.world.now, 0.0);
    EXPECT_EQ(effect.ExtraVoiceCount(), 0u);
    EXPECT_TRUE(Main().Looped());
    system.world.now += 10;
    EXPECT_TRUE(Main().Sounding());
    effect.SetLooped(false);  // stops it
    EXPECT_FALSE(Main().Sounding());
}

TEST_F(EffectListTest, WaitingPlayReturnsWhenTheSoundHasEnded) {
    effect.PlayEffect(true);
    EXPECT_DOUBLE_EQ(system.world.now, kBasketLength);
    EXPECT_FALSE(Extra(0).Sounding());
}

TEST_F(EffectListTest, EmptyWaveNeverSoundsAndNeverWaits) {
    TWaveCollectionItem& empty = list.Add("Empty");
    empty.Wave().SetFormat(StereoFormat());
    list.SetDXSound(&sound);  // re-registering attaches and rebuilds every effect
    ASSERT_TRUE(empty.Attached());
    EXPECT_FALSE(empty.HasMainVoice());
    empty.PlayEffect(true);
    empty.SetLooped(true);
    empty.PlayEffect(true);
    EXPECT_EQ(system.world.now, 0.0);
    EXPECT_EQ(system.world.sleeps, 0);
    EXPECT_EQ(empty.ExtraVoiceCount(), 0u);
}

TEST_F(EffectListTest, WithoutAnOutputEveryPlayReturnsAtOnce) {
    FakeSoundSystem silent_system;
    silent_system.world.has_device = false;
    TDXSound silent(silent_system);
    TDXWaveList silent_list;
    silent_list.Add("UL").Wave() = MakeWave(1767);
    silent_list.SetDXSound(&silent);
    silent.Loaded();  // no output: swallowed
    EXPECT_FALSE(silent.Initialized());
    EXPECT_FALSE(silent_list.Items(0).Attached());
    silent_list.Items(0).PlayEffect(true);
    EXPECT_EQ(silent_system.world.sleeps, 0);
    ExpectError<EDirectSoundError>([&] { silent.OpenDevice(); }, "The sound output cannot be opened");
    silent_system.world.has_device = true;
    silent_system.world.has_mixer = false;
    ExpectError<EDXSoundError>([&] { silent.OpenDevice(); }, "The sound output has no mixer to play on");
    EXPECT_FALSE(silent.Initialized());
}

// An output that opens but refuses a mixer once threw out of Loaded, through
// the start screen's creation of the game window.
TEST(SoundStart, AnyFailureToStartLeavesTheGameSilentWithoutThrowing) {
    struct Case {
        const char* name;
        bool has_device;
        bool has_mixer;
    };
    for (const Case& c : {Case{"no output", false, true}, Case{"no mixer", true, false}}) {
        SCOPED_TRACE(c.name);
        FakeSoundSystem system;
        system.world.has_device = c.has_device;
        system.world.has_mixer = c.has_mixer;
        TDXSound sound(system);
        TDXWaveList list;
        list.Add("UL").Wave() = MakeWave(1767);
        list.SetDXSound(&sound);
        EXPECT_NO_THROW(sound.Loaded());
        EXPECT_FALSE(sound.Initialized());
        EXPECT_NO_THROW(list.Items(0).PlayEffect(true));
        EXPECT_EQ(system.world.sleeps, 0);
    }
}

TEST_F(EffectListTest, RefusedVoicesFailWithTheirMessages) {
    system.world.refuse_make = true;
    ExpectError<EDirectSoundBufferError>([&] { effect.RebuildEffect(); }, "A sound cannot be made ready on the sound output");
    system.world.refuse_make = false;
    system.world.refuse_fill = true;
    ExpectError<EDirectSoundBufferError>([&] { effect.RebuildEffect(); }, "A sound cannot be copied to the sound output");
    system.world.refuse_fill = false;
    effect.RebuildEffect();
    system.world.refuse_duplicate = true;
    ExpectError<EDirectSoundBufferError>([&] { effect.PlayEffect(false); }, "A sound has no voice on the sound output");
}

TEST_F(EffectListTest, ALostOutputIsOpenedAfreshAndEffectsRebuilt) {
    effect.PlayEffect(false);
    system.world.lost = true;
    system.world.now += 1;
    effect.PlayEffect(true);  // finds the output gone: no wait
    EXPECT_EQ(system.world.now, 1.0);
    EXPECT_EQ(system.world.outputs_opened, 2);
    EXPECT_TRUE(effect.HasMainVoice());
    EXPECT_EQ(effect.ExtraVoiceCount(), 0u);
    effect.PlayEffect(true);  // the new output plays and is waited for
    EXPECT_DOUBLE_EQ(system.world.now, 1.0 + kBasketLength);

    system.world.lost = true;
    system.world.has_device = false;  // and this time it does not come back
    effect.PlayEffect(true);
    EXPECT_FALSE(sound.Initialized());
    EXPECT_FALSE(effect.Attached());
    effect.PlayEffect(true);
    EXPECT_DOUBLE_EQ(system.world.now, 1.0 + kBasketLength);
}

TEST_F(EffectListTest, ALostOutputIsSilentUntilAReopenEveryFewSecondsFindsOneAgain) {
    std::vector<std::string> events;
    sound.OnOutputLost = [&](TDXSound&) { events.push_back("lost"); };
    sound.OnOutputBack = [&](TDXSound&) { events.push_back("back"); };
    effect.PlayEffect(true);
    const double t0 = system.world.now;

    // The device goes, and none is there to reopen: silent, no wait, one notice.
    system.world.lost = true;
    system.world.has_device = false;
    effect.PlayEffect(true);
    EXPECT_EQ(system.world.now, t0);
    EXPECT_FALSE(sound.Initialized());
    EXPECT_TRUE(sound.AwaitingOutput());
    // A skin loaded meanwhile: its wave is the one rebuilt when the output comes back.
    constexpr std::int32_t kSkinFrames = 8820;  // 200 ms
    effect.ReplaceWave(MakeWave(kSkinFrames));
    const int attempts = system.world.open_attempts;
    struct Step {
        double after_seconds;
        bool device_there;
        int new_attempts;
        bool sounds;
    };
    const double interval = TDXSound::kReopenIntervalSeconds;
    const Step steps[] = {
        {0.1, false, 0, false},              // too soon to try again
        {interval, false, 1, false},         // tried, still gone
        {interval * 0.5, true, 0, false},    // back, but not yet tried
        {interval * 0.5 + 0.1, true, 1, true},  // tried: sounds again, and is waited for
        {interval * 2, true, 0, true},       // open: no more tries
    };
    int expected_attempts = attempts;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.after_seconds);
        system.world.now += step.after_seconds;
        system.world.has_device = step.device_there;
        const double before = system.world.now;
        effect.PlayEffect(true);
        expected_attempts += step.new_attempts;
        EXPECT_EQ(system.world.open_attempts, expected_attempts);
        EXPECT_EQ(sound.Initialized(), step.sounds);
        EXPECT_NEAR(system.world.now - before, step.sounds ? kSkinFrames / 44100.0 : 0.0, 1e-9);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"lost", "back"}));
    EXPECT_FALSE(sound.AwaitingOutput());
}

struct Recorder : SoundListener {
    std::vector<std::string>& log;
    std::string name;
    Recorder(std::vector<std::string>& l, std::string n) : log(l), name(std::move(n)) {}
    void DeviceNotice(TDXSound&, SoundNotice notice) override {
        log.push_back(name + std::to_string(static_cast<int>(notice)));
    }
};

TEST(DXSound, NoticesAndEventsComeInOrderNewestListenerFirst) {
    FakeSoundSystem system;
    std::vector<std::string> log;
    {
        // The listeners outlive the device, which tells b of its end.
        Recorder a(log, "a"), b(log, "b");
        TDXSound sound(system);
        sound.RegisterNotifyEvent(a);
        sound.RegisterNotifyEvent(b);
        sound.OnInitializing = [&](TDXSound&) { log.push_back("initializing"); };
        sound.OnInitialize = [&](TDXSound& s) {
            log.push_back("initialize");
            s.Output()->SetMixFormat(PcmFormat{1, 2, 44100, 176400, 4, 16});
        };
        sound.OnRestore = [&](TDXSound&) { log.push_back("restore"); };
        sound.OnFinalize = [&](TDXSound&) { log.push_back("finalize"); };
        sound.OpenDevice();
        EXPECT_EQ(log, (std::vector<std::string>{"b1", "a1", "initializing", "b2", "a2", "initialize", "b4", "a4",
                                                 "restore"}));
        EXPECT_EQ(system.world.mix_formats.size(), 1u);
        log.clear();
        Recorder c(log, "c");
        sound.RegisterNotifyEvent(c);  // joins an open device: told at once
        sound.UnRegisterNotifyEvent(a);
        EXPECT_EQ(log, (std::vector<std::string>{"c2", "c4", "a3"}));
        log.clear();
        sound.CloseDevice();
        sound.CloseDevice();  // already closed: nothing
        EXPECT_EQ(log, (std::vector<std::string>{"finalize", "c3", "b3"}));
        sound.UnRegisterNotifyEvent(c);
        log.clear();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"b0"}));
}

TEST(DXSound, OptionsTakeEffectAsDescribed) {
    FakeSoundSystem system;
    TDXSound sound(system);
    sound.SetOptions({.soGlobalFocus = true, .soExclusive = true});
    EXPECT_EQ(sound.EffectiveOptions(), (TDXSoundOptions{.soGlobalFocus = true, .soExclusive = true}));
    sound.OpenDevice();
    sound.SetOptions({.soGlobalFocus = false, .soExclusive = false});  // exclusivity waits for the next open
    EXPECT_EQ(sound.EffectiveOptions(), (TDXSoundOptions{.soGlobalFocus = false, .soExclusive = true}));
    sound.CloseDevice();
    EXPECT_EQ(sound.EffectiveOptions(), (TDXSoundOptions{.soGlobalFocus = false, .soExclusive = false}));
}

TEST(DXSound, ListAndDeviceMayGoInEitherOrder) {
    FakeSoundSystem system;
    auto list = std::make_unique<TDXWaveList>();
    list->Add("GO").Wave() = MakeWave(100);
    {
        TDXSound sound(system);
        list->SetDXSound(&sound);
        sound.Loaded();
        EXPECT_TRUE(list->Items(0).HasMainVoice());
    }
    EXPECT_EQ(list->DXSound(), nullptr);
    EXPECT_FALSE(list->Items(0).Attached());
    list->Items(0).PlayEffect(true);

    TDXSound sound(system);
    list->SetDXSound(&sound);
    sound.Loaded();
    list.reset();  // unregisters itself
    sound.CloseDevice();
}

TEST_F(EffectListTest, LoadEffectFileRebuildsFromTheNewWave) {
    effect.PlayEffect(false);
    const std::string path = ::testing::TempDir() + "pellox_catch.wav";
    {
        std::vector<std::uint8_t> image = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                           'f', 'm', 't', ' ', 16, 0, 0, 0};
        for (auto b : StereoFormat()) image.push_back(b);
        const std::uint32_t bytes = 441 * 4;  // 10 ms
        for (auto b : {'d', 'a', 't', 'a'}) image.push_back(static_cast<std::uint8_t>(b));
        for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(bytes >> (8 * i)));
        image.resize(image.size() + bytes, 0);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
    }
    ASSERT_TRUE(effect.LoadEffectFile(path));
    EXPECT_EQ(effect.ExtraVoiceCount(), 0u);  // the voices of the old wave are gone
    effect.PlayEffect(true);
    EXPECT_DOUBLE_EQ(system.world.now, 0.01);

    EXPECT_EQ(effect.LoadEffectFile(path + ".missing").reason(), "Cannot open file " + path + ".missing");
    EXPECT_TRUE(effect.HasMainVoice());
    EXPECT_EQ(effect.Wave().DataSize(), 441 * 4);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace pellox
