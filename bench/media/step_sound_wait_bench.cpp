// How exactly a waited chute step ends, on a real-time OpenAL Soft output.
// Run with ALSOFT_DRIVERS=null (a silent device that mixes in real time) where
// there is no sound card. For each play of "UL".."DR" with wait: how long the
// wait lasted minus the wave's own length. For comparison, the same plays
// waited for by polling the voice every 10 ms until it reports stopped.
//
// step_sound_wait_bench [plays]   (default 400)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench/media/stats.h"
#include "media/game_sounds.h"
#include "media/openal_sound.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Print(const char* name, const std::vector<double>& overshoot) {
    const auto s = pellox::bench::Summarise(overshoot);
    std::printf("%-26s %5zu %8.3f %8.3f %8.3f %8.3f\n", name, overshoot.size(), s.min, s.p50, s.p99, s.max);
}

}  // namespace

int main(int argc, char** argv) {
    const int plays = argc > 1 ? std::atoi(argv[1]) : 400;
    pellox::GameSounds sounds;
    if (!sounds.DXSound().Initialized()) {
        std::fprintf(stderr, "no sound output (try ALSOFT_DRIVERS=null)\n");
        return 1;
    }
    std::printf("mixing period asked: ALC_REFRESH %d Hz; mix-ahead allowance %.3f ms\n",
                pellox::OpenALSoundSystem::kRefreshHz, 1000 * sounds.DXSound().Output()->MixAheadSeconds());
    std::printf("wait - wave length, in ms\n%-26s %5s %8s %8s %8s %8s\n", "waiting by", "plays", "min", "p50", "p99",
                "max");

    std::vector<double> ours, polled;
    for (int i = 0; i < plays; ++i) {
        const int effect = i % 4;
        auto& item = sounds.DXWaveList().Items(effect);
        const double length = 1000.0 * (item.Wave().DataSize() / 4) / 44100.0;
        const auto start = Clock::now();
        sounds.PlayEffect(static_cast<pellox::Effect>(effect), true);
        ours.push_back(Ms(Clock::now() - start) - length);
        // Let the voice finish for good before the next play, as the game's next
        // tick would; a game tick comes at least 27 ms later.
        std::this_thread::sleep_for(std::chrono::milliseconds(27));
    }
    for (int i = 0; i < plays / 4; ++i) {
        const int effect = i % 4;
        auto& item = sounds.DXWaveList().Items(effect);
        const double length = 1000.0 * (item.Wave().DataSize() / 4) / 44100.0;
        const auto start = Clock::now();
        item.PlayEffect(false);
        // The voice just started is the one that sounds now.
        pellox::SoundVoice* voice = nullptr;
        for (std::size_t v = 0; v < item.ExtraVoiceCount() && !voice; ++v) {
            bool sounding = false;
            item.ExtraVoice(v)->IsSounding(sounding);
            if (sounding) voice = item.ExtraVoice(v);
        }
        for (bool sounding = voice != nullptr; sounding;) {
            voice->IsSounding(sounding);
            if (sounding) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        polled.push_back(Ms(Clock::now() - start) - length);
        std::this_thread::sleep_for(std::chrono::milliseconds(27));
    }
    Print("frame count and offset", ours);
    Print("polling every 10 ms", polled);
    return 0;
}
