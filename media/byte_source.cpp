#include "media/byte_source.h"

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

#include "media/media_errors.h"

namespace pellox {

std::size_t MemorySource::Read(void* into, std::size_t count) {
    if (position_ >= bytes_.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(count, bytes_.size() - position_);
    std::memcpy(into, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

FileSource::FileSource(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw EFOpenError(path);
    // A folder opens for reading on Linux but holds no bytes: refuse it the same way.
    struct stat info {};
    if (fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        throw EFOpenError(path);
    }
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        if (end > 0) size_ = static_cast<std::uint64_t>(end);
    }
}

FileSource::~FileSource() {
    if (file_) std::fclose(file_);
}

std::size_t FileSource::Read(void* into, std::size_t count) {
    if (position_ >= size_) return 0;
    if (std::fseek(file_, static_cast<long>(position_), SEEK_SET) != 0) return 0;
    const std::size_t n = std::fread(into, 1, count, file_);
    position_ += n;
    return n;
}

}  // namespace pellox
