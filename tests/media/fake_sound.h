#pragma once
// A sound back-end on a fake clock: voices sound for their wave's length.

#include <memory>
#include <vector>

#include "media/core/sound_platform.h"

namespace pellox::testing {

struct FakeWorld {
    double now = 0;
    int sleeps = 0;
    bool lost = false;          // the output has gone away
    bool has_device = true;
    bool has_mixer = true;
    bool refuse_make = false;
    bool refuse_fill = false;
    bool refuse_duplicate = false;
    int outputs_opened = 0;
    int outputs_closed = 0;
    bool paused = false;        // the open output's mixer is stopped
    int plays_while_paused = 0; // voices started on a stopped mixer
    int open_attempts = 0;      // successful or not
    int sample_buffers = 0;     // distinct sample copies made
    std::vector<PcmFormat> mix_formats;
};

struct FakeSamples {
    double length = 0;
};

class FakeVoice final : public SoundVoice {
public:
    FakeVoice(FakeWorld& world, std::shared_ptr<FakeSamples> samples) : world_(world), samples_(std::move(samples)) {}

    VoiceResult Stop() override {
        playing_ = false;
        ++stops;
        return Result();
    }
    VoiceResult Rewind() override { return Result(); }
    VoiceResult ResetControls() override { return Result(); }
    VoiceResult Play(bool looped) override {
        if (world_.lost) return VoiceResult::Lost;
        if (world_.paused) ++world_.plays_while_paused;
        playing_ = true;
        looped_ = looped;
        started_ = world_.now;
        ++plays;
        return Result();
    }
    VoiceResult IsSounding(bool& sounding) override {
        sounding = Sounding();
        return Result();
    }
    double RemainingSeconds() override { return Sounding() && !looped_ ? started_ + samples_->length - world_.now : 0; }

    bool Sounding() const {
        return playing_ && !world_.lost && (looped_ || world_.now < started_ + samples_->length);
    }
    bool Looped() const { return looped_; }
    const FakeSamples* Samples() const { return samples_.get(); }
    std::shared_ptr<FakeSamples> SharedSamples() const { return samples_; }

    int plays = 0;
    int stops = 0;

private:
    VoiceResult Result() const { return world_.lost ? VoiceResult::Lost : VoiceResult::Ok; }

    FakeWorld& world_;
    std::shared_ptr<FakeSamples> samples_;
    bool playing_ = false;
    bool looped_ = false;
    double started_ = 0;
};

class FakeOutput final : public SoundOutput {
public:
    explicit FakeOutput(FakeWorld& world) : world_(world) {}
    ~FakeOutput() override {
        ++world_.outputs_closed;
        world_.paused = false;
    }
    void SetPaused(bool paused) override { world_.paused = paused; }
    void SetMixFormat(const PcmFormat& format) override { world_.mix_formats.push_back(format); }
    std::unique_ptr<SoundVoice> MakeVoice(const TWave& wave, MakeResult& result) override {
        if (world_.refuse_make) {
            result = MakeResult::CannotMake;
            return nullptr;
        }
        if (world_.refuse_fill) {
            result = MakeResult::CannotFill;
            return nullptr;
        }
        PcmFormat pcm;
        wave.ReadPcmFormat(pcm);
        auto samples = std::make_shared<FakeSamples>();
        samples->length = pcm.block_align && pcm.samples_per_second
                              ? double(wave.DataSize() / pcm.block_align) / pcm.samples_per_second
                              : 0;
        ++world_.sample_buffers;
        result = MakeResult::Ok;
        return std::make_unique<FakeVoice>(world_, samples);
    }
    std::unique_ptr<SoundVoice> DuplicateVoice(SoundVoice& original) override {
        if (world_.refuse_duplicate) return nullptr;
        return std::make_unique<FakeVoice>(world_, static_cast<FakeVoice&>(original).SharedSamples());
    }
    double MixAheadSeconds() const override { return 0; }

private:
    FakeWorld& world_;
};

class FakeSoundSystem final : public SoundSystem {
public:
    FakeWorld world;

    std::unique_ptr<SoundOutput> OpenDefaultOutput(OpenResult& result) override {
        ++world.open_attempts;
        if (!world.has_device) {
            result = OpenResult::NoDevice;
            return nullptr;
        }
        if (!world.has_mixer) {
            result = OpenResult::NoMixer;
            return nullptr;
        }
        ++world.outputs_opened;
        world.lost = false;
        result = OpenResult::Ok;
        return std::make_unique<FakeOutput>(world);
    }
    double NowSeconds() override { return world.now; }
    void SleepUntil(double seconds) override {
        ++world.sleeps;
        if (seconds > world.now) world.now = seconds;
    }
};

}  // namespace pellox::testing
