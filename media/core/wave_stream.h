#pragma once
// Reads a RIFF WAVE image from a byte source into a TWave.

#include <cstdint>
#include <string_view>

#include "base/result.h"

namespace pellox {

// The reason a wave gives when its source ends before the bytes it promised.
inline constexpr std::string_view kStreamReadError = "Stream read error";

class ByteSource;
class TWave;

// The most sample bytes one wave may hold: 95 s of 44.1 kHz 16-bit stereo.
// Checked against the data chunk's header before a byte of it is read, so a
// wave of a gigabyte costs a few header reads, not a gigabyte of memory.
inline constexpr std::uint32_t kMaxWaveDataBytes = 16u << 20;

// The most chunks one wave may hold. A wave has a format, its samples and a
// few notes (LIST, fact, cue); each chunk costs a seek and a read, so a file
// of millions of empty chunks is refused after this many instead of being
// walked for seconds (16 MB of them took 0.65 s).
inline constexpr int kMaxWaveChunks = 1024;

class TWaveStream {
public:
    // Remembers the source's present position as the start of the image.
    explicit TWaveStream(ByteSource& source);

    // Checks the RIFF ... WAVE header. Fails "Stream has already been opened"
    // the second time, "Wave is invalid" on a wrong header, kStreamReadError
    // when the header is cut short.
    Result<void> Open();
    // Reads the chunks into the wave: the last "fmt " and the last "data" chunk win.
    // Fails when there are more than kMaxWaveChunks chunks or more than
    // kMaxWaveDataBytes samples, and kStreamReadError when a chunk claims more
    // bytes than the source holds.
    Result<void> ReadWave(TWave& wave);
    // Reads exactly count bytes through the reader. Fails "Stream not opend"
    // before Open, kStreamReadError when the source runs out.
    Result<void> ReadExactly(void* into, std::uint64_t count);

private:
    ByteSource& source_;
    std::uint64_t image_start_;
    bool opened_ = false;
};

}  // namespace pellox
