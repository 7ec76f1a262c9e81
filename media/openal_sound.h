#pragma once
// The sound back-end on OpenAL Soft. One AL buffer holds an effect's samples;
// every voice is an AL source playing it.
//
// OpenALSoundSystem opens the default output device with a short mixing period
// (ALC_REFRESH 172 Hz: 256 frames, 5.8 ms at 44.1 kHz) so that the end of a
// sound is known within a few milliseconds. OpenALLoopbackSystem renders the
// mix into memory instead (no device needed): its clock is the rendered audio,
// and waiting renders the audio that the wait spans.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/core/sound_platform.h"
#include "media/openal_library.h"

namespace pellox {

class OpenALSoundSystem : public SoundSystem {
public:
    // Mixing periods per second asked of the output.
    static constexpr int kRefreshHz = 172;

    // The library is opened at the first OpenDefaultOutput, not before; one
    // that cannot be opened is told once and leaves the game silent, as no
    // device does. library: its file name (tests name one that is not there).
    explicit OpenALSoundSystem(std::string library = kOpenALLibrary);
    ~OpenALSoundSystem() override;

    std::unique_ptr<SoundOutput> OpenDefaultOutput(OpenResult& result) override;
    double NowSeconds() override;
    void SleepUntil(double seconds) override;

private:
    std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
    std::string library_;
    std::shared_ptr<const OpenALFunctions> al_;
    bool load_failed_ = false;
};

class OpenALLoopbackSystem final : public SoundSystem {
public:
    static constexpr int kRate = 44100;

    OpenALLoopbackSystem();
    ~OpenALLoopbackSystem() override;

    // False when this OpenAL has no loopback rendering.
    static bool Available();

    std::unique_ptr<SoundOutput> OpenDefaultOutput(OpenResult& result) override;
    double NowSeconds() override { return static_cast<double>(rendered_frames_) / kRate; }
    // Renders the mix up to that moment.
    void SleepUntil(double seconds) override;

    void Render(std::size_t frames);
    // Interleaved stereo 16-bit samples rendered so far.
    const std::vector<std::int16_t>& Captured() const { return captured_; }
    void ClearCapture() { captured_.clear(); }

    // Called by the output it made.
    void OutputClosed() { device_ = nullptr; }

private:
    std::shared_ptr<const OpenALFunctions> al_;
    void* device_ = nullptr;  // ALCdevice of the open output
    std::uint64_t rendered_frames_ = 0;
    std::vector<std::int16_t> captured_;
};

}  // namespace pellox
