#include "tools/wavesynth/riff_writer.h"

#include <fstream>

namespace pellox::wavesynth {
namespace {

void Put16(std::vector<char>& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::vector<char>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutId(std::vector<char>& out, const char* id) { out.insert(out.end(), id, id + 4); }

}  // namespace

bool WriteWave(const std::string& path, const std::vector<std::int16_t>& stereo, int format_size) {
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(stereo.size() * 2);
    std::vector<char> out;
    PutId(out, "RIFF");
    Put32(out, 4 + 8 + static_cast<std::uint32_t>(format_size) + 8 + data_bytes);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, static_cast<std::uint32_t>(format_size));
    Put16(out, 1);       // PCM
    Put16(out, 2);       // channels
    Put32(out, 44100);   // samples per second
    Put32(out, 176400);  // bytes per second
    Put16(out, 4);       // block align
    Put16(out, 16);      // bits per sample
    if (format_size == 18) Put16(out, 0);
    PutId(out, "data");
    Put32(out, data_bytes);
    for (std::int16_t s : stereo) Put16(out, static_cast<std::uint16_t>(s));
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

}  // namespace pellox::wavesynth
