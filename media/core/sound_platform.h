#pragma once
// The little the sound service needs of a sound back-end: an output device,
// voices that play one wave (sharing its samples between copies), and a clock
// to wait on. OpenAL Soft provides the real one; tests provide a fake.

#include <memory>

#include "media/core/wave.h"

namespace pellox {

// Ok, or the output device has gone away (unplugged, sound server ended).
enum class VoiceResult { Ok, Lost };

class SoundVoice {
public:
    virtual ~SoundVoice() = default;
    virtual VoiceResult Stop() = 0;
    virtual VoiceResult Rewind() = 0;
    // The wave's own sample rate, centre, no attenuation.
    virtual VoiceResult ResetControls() = 0;
    virtual VoiceResult Play(bool looped) = 0;
    virtual VoiceResult IsSounding(bool& sounding) = 0;
    // Seconds of the wave not yet mixed, from its frame count and the play position.
    virtual double RemainingSeconds() = 0;
};

class SoundOutput {
public:
    enum class MakeResult { Ok, CannotMake, CannotFill };

    virtual ~SoundOutput() = default;
    // Asks the output for this mixing format; whether it complies is its own affair.
    virtual void SetMixFormat(const PcmFormat& format) = 0;
    // A voice holding a copy of the wave's samples, or null (result says why).
    virtual std::unique_ptr<SoundVoice> MakeVoice(const TWave& wave, MakeResult& result) = 0;
    // A voice sharing the samples of `original`, or null when refused.
    virtual std::unique_ptr<SoundVoice> DuplicateVoice(SoundVoice& original) = 0;
    // How far ahead of the play position the mixer may already have taken
    // samples: a sound with no more than this left is as good as ended.
    virtual double MixAheadSeconds() const = 0;
    virtual void SetFocusFlags(bool /*global*/) {}
    // Paused, the output's mixer stops and wakes nobody; the voices keep their
    // places and go on when it runs again. An output that cannot pause runs on.
    virtual void SetPaused(bool /*paused*/) {}
};

class SoundSystem {
public:
    enum class OpenResult { Ok, NoDevice, NoMixer };

    virtual ~SoundSystem() = default;
    virtual std::unique_ptr<SoundOutput> OpenDefaultOutput(OpenResult& result) = 0;
    // The clock a waiting play sleeps on.
    virtual double NowSeconds() = 0;
    virtual void SleepUntil(double seconds) = 0;
};

}  // namespace pellox
