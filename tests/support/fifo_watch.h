#pragma once
// A FIFO that tells whether anything opened it for reading. A reader that
// opens a FIFO blocks until a writer comes; the watch keeps knocking as a
// writer without blocking, so such a reader is let go at once (it reads an
// empty file) and is counted, instead of holding its thread for good.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace pellox {

class FifoWatch {
public:
    explicit FifoWatch(std::filesystem::path path) : path_(std::move(path)) {
        if (::mkfifo(path_.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed for " + path_.string());
        knocker_ = std::thread([this] {
            while (!stop_) {
                // Succeeds only while a reader has the FIFO open (ENXIO otherwise).
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    ++readers_;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    // Removes the FIFO.
    ~FifoWatch() {
        stop_ = true;
        knocker_.join();
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // How many times a reader was found with the FIFO open.
    int ReadersSeen() const { return readers_; }

private:
    std::filesystem::path path_;
    std::atomic<bool> stop_{false};
    std::atomic<int> readers_{0};
    std::thread knocker_;
};

}  // namespace pellox
