#include "media/core/byte_source.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pellox {
namespace {

Failure CannotOpen(const std::string& path, const std::string& why = {}) {
    return Failure("Cannot open file " + path + why);
}

// Why a path that exists is no file to read, for the open error's message.
std::string NotARegularFile(mode_t mode) {
    if (S_ISDIR(mode)) return ": not a regular file (a folder)";
    if (S_ISFIFO(mode)) return ": not a regular file (a FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return ": not a regular file (a device)";
    if (S_ISSOCK(mode)) return ": not a regular file (a socket)";
    return ": not a regular file";
}

}  // namespace

std::size_t MemorySource::Read(void* into, std::size_t count) {
    if (position_ >= bytes_.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(count, bytes_.size() - position_);
    if (n == 0) return 0;  // an empty chunk's buffer may be null, which memcpy must not see
    std::memcpy(into, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

Result<std::unique_ptr<FileSource>> FileSource::Open(const std::string& path) {
    // Only a regular file is a wave file, and it must be known to be one
    // before it is opened: opening a FIFO for reading waits for a writer,
    // maybe for ever, and a device such as /dev/zero never runs out of bytes.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return CannotOpen(path);
    if (!S_ISREG(info.st_mode)) return CannotOpen(path, NotARegularFile(info.st_mode));

    // Should the name be replaced by a FIFO after the stat, O_NONBLOCK still
    // lets the open return, and the fstat below refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return CannotOpen(path);
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return CannotOpen(path);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return CannotOpen(path, NotARegularFile(info.st_mode));
    }
    // Most file systems ignore O_NONBLOCK on a regular file, but some (FUSE)
    // honour it and would fail a read with EAGAIN: back to blocking reads.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return CannotOpen(path);
    }
    std::uint64_t size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end > 0) size = static_cast<std::uint64_t>(end);
    }
    return std::unique_ptr<FileSource>(new FileSource(file, size));
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
