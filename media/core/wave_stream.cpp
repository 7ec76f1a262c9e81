#include "media/core/wave_stream.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "media/core/byte_source.h"
#include "media/core/wave.h"

namespace pellox {
namespace {

constexpr std::uint32_t FourCC(const char (&id)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(id[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(id[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(id[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(id[3])) << 24;
}

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Refuses a claimed size before anything of that size is allocated: a broken
// file that claims gigabytes must fail as a short read, not as an allocation.
bool Available(const ByteSource& source, std::uint64_t from, std::uint64_t count) {
    const std::uint64_t size = source.Size();
    return from <= size && count <= size - from;
}

Failure ReadError() { return Failure(std::string(kStreamReadError)); }
Failure NotOpened() { return Failure("Stream not opend"); }

}  // namespace

TWaveStream::TWaveStream(ByteSource& source) : source_(source), image_start_(source.Position()) {}

Result<void> TWaveStream::Open() {
    if (opened_) return Failure("Stream has already been opened");
    source_.Seek(image_start_);
    std::uint8_t header[12];
    if (source_.Read(header, sizeof header) != sizeof header) return ReadError();
    // The RIFF size (bytes 4..7) is not trusted: many writers get it wrong.
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        return Failure("Wave is invalid");
    opened_ = true;
    return {};
}

Result<void> TWaveStream::ReadExactly(void* into, std::uint64_t count) {
    if (!opened_) return NotOpened();
    // An empty chunk's buffer may be null, and no source need accept a null
    // buffer (fread and memcpy do not).
    if (count == 0) return {};
    if (source_.Read(into, count) != count) return ReadError();
    return {};
}

Result<void> TWaveStream::ReadWave(TWave& wave) {
    if (!opened_) return NotOpened();
    std::vector<std::uint8_t> format;
    std::uint32_t data_size = 0;
    std::uint64_t data_start = 0;

    for (int chunks = 0;; ++chunks) {
        // A short header at the end of the source reads as zeros and ends the loop.
        std::uint8_t header[8] = {};
        source_.Read(header, sizeof header);
        const std::uint32_t id = LittleEndian32(header);
        const std::uint32_t size = LittleEndian32(header + 4);
        if (id == 0) break;
        if (chunks == kMaxWaveChunks)
            return Failure("Wave has too many chunks: more than " + std::to_string(kMaxWaveChunks));
        // Chunks follow each other without the pad byte some writers put after an
        // odd-sized chunk; such a pad byte becomes part of the next header.
        if (id == FourCC("fmt ")) {
            if (!Available(source_, source_.Position(), size)) return ReadError();
            format.resize(size);
            if (Result<void> read = ReadExactly(format.data(), size); !read) return read;
        } else if (id == FourCC("data")) {
            data_size = size;
            data_start = source_.Position();
            source_.Seek(data_start + size);
        } else {
            source_.Seek(source_.Position() + size);
        }
    }

    if (data_size > 0) {
        if (!Available(source_, data_start, data_size)) return ReadError();
        // A sound effect lasts a moment; a wave of hundreds of megabytes is
        // no effect, and reading it whole would only cost memory.
        if (data_size > kMaxWaveDataBytes)
            return Failure("Wave data too long for a sound effect: " + std::to_string(data_size) +
                           " bytes, at most " + std::to_string(kMaxWaveDataBytes));
        if (data_size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) return ReadError();
    }
    wave.SetFormat(std::move(format));
    wave.SetDataSize(static_cast<std::int32_t>(data_size));
    source_.Seek(data_start);
    if (data_size > 0) return ReadExactly(wave.Data(), data_size);
    return {};
}

}  // namespace pellox
