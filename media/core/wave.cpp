#include "media/core/wave.h"

#include <algorithm>
#include <cstring>

#include "media/core/byte_source.h"
#include "media/core/wave_stream.h"

namespace pellox {

TWave::TWave(const TWave& other) { *this = other; }

TWave& TWave::operator=(const TWave& other) {
    if (this == &other) return *this;
    format_ = other.format_;
    SetDataSize(other.data_size_);
    if (data_size_ > 0) std::memcpy(data_.get(), other.data_.get(), static_cast<std::size_t>(data_size_));
    return *this;
}

void TWave::Clear() {
    format_.clear();
    data_.reset();
    data_size_ = 0;
    blocks_ = 0;
}

void TWave::SetDataSize(std::int32_t size) {
    size = std::max(size, 0);
    const std::int32_t blocks = size / kBlockSize + (size % kBlockSize != 0 ? 1 : 0);
    if (blocks != blocks_) {
        std::unique_ptr<std::uint8_t[]> storage;
        if (blocks > 0) {
            storage = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(blocks) * kBlockSize);
            const std::int32_t kept = std::min(size, data_size_);
            if (kept > 0) std::memcpy(storage.get(), data_.get(), static_cast<std::size_t>(kept));
        }
        data_ = std::move(storage);
        blocks_ = blocks;
    }
    data_size_ = size;
}

bool TWave::ReadPcmFormat(PcmFormat& out) const {
    if (format_.size() < 16) return false;
    auto u16 = [&](std::size_t at) {
        return static_cast<std::uint16_t>(format_[at] | (format_[at + 1] << 8));
    };
    auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(u16(at)) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
    };
    out.format_tag = u16(0);
    out.channels = u16(2);
    out.samples_per_second = u32(4);
    out.avg_bytes_per_second = u32(8);
    out.block_align = u16(12);
    out.bits_per_sample = u16(14);
    return true;
}

Result<void> TWave::LoadWaveImage(ByteSource& source) {
    Clear();
    TWaveStream reader(source);
    if (Result<void> opened = reader.Open(); !opened) return opened;
    return reader.ReadWave(*this);
}

Result<void> TWave::LoadWaveFile(const std::string& path) {
    Result<std::unique_ptr<FileSource>> file = FileSource::Open(path);  // fails before the wave is touched
    if (!file) return Failure(file.reason());
    return LoadWaveImage(**file);
}

Result<void> CheckPlayableFormat(const TWave& wave) {
    PcmFormat pcm;
    if (!wave.ReadPcmFormat(pcm)) return Failure("the wave has no format block");
    if (pcm.format_tag != 1)
        return Failure("not plain PCM (format tag " + std::to_string(pcm.format_tag) + "): save it as PCM");
    if (pcm.bits_per_sample != 8 && pcm.bits_per_sample != 16)
        return Failure(std::to_string(pcm.bits_per_sample) + " bits a sample: only 8 and 16 play");
    if (pcm.channels != 1 && pcm.channels != 2)
        return Failure(std::to_string(pcm.channels) + " channels: only mono and stereo play");
    if (pcm.samples_per_second < 1000 || pcm.samples_per_second > 192000)
        return Failure("a rate of " + std::to_string(pcm.samples_per_second) + " Hz: 1000 to 192000 Hz play");
    const int frame_bytes = pcm.channels * pcm.bits_per_sample / 8;
    if (pcm.block_align != frame_bytes)
        return Failure("a block size of " + std::to_string(pcm.block_align) + " bytes where " +
                       std::to_string(frame_bytes) + " fit the format");
    if (wave.DataSize() % frame_bytes != 0) return Failure("the samples end in the middle of a frame");
    return {};
}

}  // namespace pellox
