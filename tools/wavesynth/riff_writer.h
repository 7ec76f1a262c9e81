#pragma once
// Writes 44.1 kHz 16-bit stereo PCM as a RIFF WAVE file.

#include <cstdint>
#include <string>
#include <vector>

namespace pellox::wavesynth {

// format_size: 16, or 18 for a format chunk that ends in a further-bytes count of 0.
// Returns false when the file cannot be written.
bool WriteWave(const std::string& path, const std::vector<std::int16_t>& stereo, int format_size);

}  // namespace pellox::wavesynth
