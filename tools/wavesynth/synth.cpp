#include "tools/wavesynth/synth.h"

#include <algorithm>
#include <cmath>

namespace pellox::wavesynth {
namespace {

// Band-limits a square's steps (polyBLEP) so high tones do not alias into a hiss.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Envelope(double i, double n, double fade) {
    if (fade <= 0) return 1.0;
    const double in = std::min(1.0, i / fade);
    const double out = std::min(1.0, (n - 1 - i) / fade);
    const double e = std::max(0.0, std::min(in, out));
    return 0.5 - 0.5 * std::cos(M_PI * e);
}

// One sample of the wave at `phase` (0..1), `dt` the phase step per sample.
double WaveAt(WaveShape shape, double phase, double dt) {
    switch (shape) {
        case WaveShape::Sine:
            return std::sin(2.0 * M_PI * phase);
        case WaveShape::Triangle:
            // Its overtones fall off fast enough that it needs no band-limiting.
            return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        case WaveShape::Square:
            break;
    }
    double value = phase < 0.5 ? 1.0 : -1.0;
    value += PolyBlep(phase, dt);
    value -= PolyBlep(std::fmod(phase + 0.5, 1.0), dt);
    return value;
}

}  // namespace

void Track::AddWave(WaveShape shape, double start_ms, double length_ms, double level, double fade_ms,
                    auto&& frequency_at) {
    const auto first = static_cast<std::size_t>(start_ms * kRate / 1000.0);
    const auto count = static_cast<std::size_t>(length_ms * kRate / 1000.0);
    const double fade = fade_ms * kRate / 1000.0;
    double phase = 0.0;
    for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
        const double progress = count > 1 ? double(i) / double(count - 1) : 0.0;
        const double dt = frequency_at(progress) / kRate;
        samples_[first + i] += level * Envelope(double(i), double(count), fade) * WaveAt(shape, phase, dt);
        phase += dt;
        if (phase >= 1.0) phase -= 1.0;
    }
}

void Track::Tone(double start_ms, double length_ms, double from_hz, double to_hz, double level, double fade_ms,
                 WaveShape shape) {
    // Glide on a log scale: pitch moves evenly to the ear.
    AddWave(shape, start_ms, length_ms, level, fade_ms,
              [&](double p) { return from_hz * std::pow(to_hz / from_hz, p); });
}

void Track::Crackle(double start_ms, double length_ms, double from_hz, double to_hz, double level,
                    std::uint32_t seed) {
    std::uint32_t state = seed;
    double jitter = 1.0;
    int hold = 0;
    AddWave(WaveShape::Square, start_ms, length_ms, level, 4.0, [&](double p) {
        if (hold-- <= 0) {
            state = state * 134775813u + 1u;
            jitter = 0.5 + (state >> 8) / double(1u << 24);  // 0.5 .. 1.5
            hold = 40;
        }
        // Loud at the snap, then dying away.
        return from_hz * std::pow(to_hz / from_hz, p) * jitter;
    });
    // The snap decays quickly: shape the burst's loudness after the fact.
    const auto first = static_cast<std::size_t>(start_ms * kRate / 1000.0);
    const auto count = static_cast<std::size_t>(length_ms * kRate / 1000.0);
    for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i)
        samples_[first + i] *= std::exp(-3.0 * double(i) / double(count));
}

void Track::Soften(double cutoff_hz) {
    const double a = std::exp(-2.0 * M_PI * cutoff_hz / kRate);
    double y = 0.0;
    for (double& s : samples_) {
        y = (1.0 - a) * s + a * y;
        s = y;
    }
}

void Track::FadeOutEnd(double fade_ms) {
    const auto n = std::min(samples_.size(), static_cast<std::size_t>(fade_ms * kRate / 1000.0));
    for (std::size_t i = 0; i < n; ++i) samples_[samples_.size() - 1 - i] *= double(i) / double(n);
}

double Track::Peak() const {
    double peak = 0.0;
    for (double s : samples_) peak = std::max(peak, std::abs(s));
    return peak;
}

std::vector<std::int16_t> Track::Stereo16() const {
    std::vector<std::int16_t> out;
    out.reserve(samples_.size() * 2);
    for (double s : samples_) {
        const auto v = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0));
        out.push_back(v);
        out.push_back(v);
    }
    return out;
}

}  // namespace pellox::wavesynth
