#pragma once
// The PCM samples of one sound effect together with their format block.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"

namespace pellox {

class ByteSource;

// The PCM format record at the start of a wave's format block.
struct PcmFormat {
    std::uint16_t format_tag = 0;  // 1 = PCM
    std::uint16_t channels = 0;
    std::uint32_t samples_per_second = 0;
    std::uint32_t avg_bytes_per_second = 0;
    std::uint16_t block_align = 0;
    std::uint16_t bits_per_sample = 0;
};

class TWave {
public:
    // Sample storage grows and shrinks in whole blocks of this many bytes.
    static constexpr std::int32_t kBlockSize = 8096;

    TWave() = default;
    TWave(const TWave& other);
    TWave& operator=(const TWave& other);
    TWave(TWave&&) noexcept = default;
    TWave& operator=(TWave&&) noexcept = default;

    // Replaces the wave with the RIFF WAVE image at the source's current
    // position, or says why the image cannot be read (TWaveStream's reasons).
    Result<void> LoadWaveImage(ByteSource& source);
    // The same from a file; a file that cannot be opened ("Cannot open file
    // <path>") leaves the wave unchanged.
    Result<void> LoadWaveFile(const std::string& path);
    void Clear();

    const std::vector<std::uint8_t>& Format() const { return format_; }
    std::int32_t FormatSize() const { return static_cast<std::int32_t>(format_.size()); }
    void SetFormat(std::vector<std::uint8_t> format) { format_ = std::move(format); }
    // The PCM record, if the format block is long enough to hold one.
    bool ReadPcmFormat(PcmFormat& out) const;

    const std::uint8_t* Data() const { return data_.get(); }
    std::uint8_t* Data() { return data_.get(); }
    std::int32_t DataSize() const { return data_size_; }
    // Negative sizes set 0. Keeps the leading bytes that still fit.
    void SetDataSize(std::int32_t size);
    // Bytes of storage held for the samples: always whole blocks.
    std::size_t StorageBytes() const { return static_cast<std::size_t>(blocks_) * kBlockSize; }

private:
    std::vector<std::uint8_t> format_;
    std::unique_ptr<std::uint8_t[]> data_;
    std::int32_t data_size_ = 0;
    std::int32_t blocks_ = 0;
};

// Whether the game's sound can play this wave, or why not: it plays PCM, 8 or
// 16 bits a sample, mono or stereo, 1000 to 192000 frames a second, a block
// size that matches, and a whole number of frames.
Result<void> CheckPlayableFormat(const TWave& wave);

}  // namespace pellox
