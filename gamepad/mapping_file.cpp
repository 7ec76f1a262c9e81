#include "gamepad/mapping_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pellox {
namespace {

// Lines handed on at a time: a few milliseconds of SDL's work even late in a
// full file, the longest a closing window waits for the loader, and the
// longest the window thread waits for SDL's lock while they go in.
constexpr std::size_t kLinesAtATime = 16;

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

std::optional<std::string> Refuse(std::string* why_not, std::string reason) {
    if (why_not) *why_not = std::move(reason);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadMappingFile(const std::string& path, std::string* why_not) {
    if (why_not) why_not->clear();
    struct stat seen {};
    // Looked at before any open: opening a FIFO waits for a writer.
    if (::stat(path.c_str(), &seen) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        return Refuse(why_not, path + ": " + std::strerror(errno));
    }
    const auto too_large = [&](long long bytes) {
        return path + ": " + std::to_string(bytes) + " bytes, more than a mapping file holds (at most " +
               std::to_string(kMaxMappingFileBytes) + " are read): left unread";
    };
    if (!S_ISREG(seen.st_mode)) return Refuse(why_not, path + ": " + KindOf(seen.st_mode) + ", not a mapping file");
    if (static_cast<unsigned long long>(seen.st_size) > kMaxMappingFileBytes)
        return Refuse(why_not, too_large(static_cast<long long>(seen.st_size)));
    // Something else may have taken its place meanwhile: never wait on open,
    // and look again at what was opened.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Refuse(why_not, path + ": " + std::strerror(errno));
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return Refuse(why_not, path + ": " + KindOf(opened.st_mode) + ", not a mapping file");
    }
    std::string text(kMaxMappingFileBytes + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            return Refuse(why_not, path + ": " + std::strerror(error));
        }
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got > kMaxMappingFileBytes) return Refuse(why_not, too_large(static_cast<long long>(got)));  // it grew
    text.resize(got);
    return text;
}

std::vector<std::string_view> LineBlocks(std::string_view text, std::size_t lines) {
    std::vector<std::string_view> blocks;
    while (!text.empty()) {
        std::size_t end = 0;
        for (std::size_t line = 0; line < lines && end < text.size(); ++line) {
            const std::size_t newline = text.find('\n', end);
            end = newline == std::string_view::npos ? text.size() : newline + 1;
        }
        blocks.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return blocks;
}

MappingFileLoader::MappingFileLoader(std::string path, Callbacks callbacks) {
    thread_ = std::thread([this, path = std::move(path), callbacks = std::move(callbacks)] {
        // The player's window comes first on a busy machine.
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
        std::string why_not;
        const std::optional<std::string> text = ReadMappingFile(path, &why_not);
        if (!why_not.empty() && callbacks.refused) callbacks.refused(why_not);
        if (text && callbacks.add)
            for (std::string_view block : LineBlocks(*text, kLinesAtATime)) {
                if (stop_) break;
                callbacks.add(block);
            }
        if (callbacks.ended) callbacks.ended();
    });
}

MappingFileLoader::~MappingFileLoader() {
    stop_ = true;
    thread_.join();
}

}  // namespace pellox
