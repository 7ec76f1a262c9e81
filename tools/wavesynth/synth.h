#pragma once
// A small piezo-buzzer voice: square waves with soft edges, short fades and
// nothing louder than a comfortable level. A skin's recipe may ask for the
// gentler triangle and sine.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellox::wavesynth {

constexpr int kRate = 44100;

enum class WaveShape { Square, Triangle, Sine };

// Mono samples in -1..1 at kRate.
class Track {
public:
    explicit Track(std::size_t frames) : samples_(frames, 0.0) {}

    // A tone whose pitch glides from `from_hz` to `to_hz`, with raised-cosine
    // fades of `fade_ms` at both ends so that it starts and stops without a click.
    void Tone(double start_ms, double length_ms, double from_hz, double to_hz, double level, double fade_ms = 3,
              WaveShape shape = WaveShape::Square);
    // A burst of pitched noise (a square whose period jumps at random), for the crack.
    void Crackle(double start_ms, double length_ms, double from_hz, double to_hz, double level, std::uint32_t seed);
    // Softens the buzzer's edges a little, as a small speaker does.
    void Soften(double cutoff_hz);
    // Fades the very last milliseconds to silence.
    void FadeOutEnd(double fade_ms);

    double Peak() const;
    // Interleaved stereo 16-bit, both channels alike.
    std::vector<std::int16_t> Stereo16() const;
    std::size_t Frames() const { return samples_.size(); }

private:
    void AddWave(WaveShape shape, double start_ms, double length_ms, double level, double fade_ms,
                 auto&& frequency_at);

    std::vector<double> samples_;
};

}  // namespace pellox::wavesynth
