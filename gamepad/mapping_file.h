#pragma once
// The player's own gamepad mappings (SDL's text format, one controller a
// line), read and handed over on a thread of their own.
//
// The file lies beside the scores file, where anything can stand: a FIFO
// there blocked the window thread in open() for good, and SDL adds mappings
// in a time that grows with the square of their number (10 000 lines took
// 0.66 s, 40 000 lines 10 s), which held the start button for as long. So
// the file is opened only when it is a regular file, without ever waiting
// for a writer, read only up to kMaxMappingFileBytes (a full community
// database is about 300 KB), and its lines are handed on away from the
// window thread, a few at a time, so that the loader stops promptly when the
// game window goes.

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/result.h"

namespace pellox {

constexpr std::size_t kMaxMappingFileBytes = std::size_t{1} << 20;

// The file's text; an empty text when there is no file (the usual case, and
// no mappings to add). A failure with the reason when it is not read: not a
// regular file (never opened then), larger than kMaxMappingFileBytes, or a
// failed open.
Result<std::string> ReadMappingFile(const std::string& path);

// The text cut after every `lines` lines; the blocks together are the text.
std::vector<std::string_view> LineBlocks(std::string_view text, std::size_t lines);

class MappingFileLoader {
public:
    // Called on the loader's thread: with each block of the file's lines in
    // order, with a reason the file is not read, and once at the end (also
    // after a stop).
    struct Callbacks {
        std::function<void(std::string_view lines)> add;
        std::function<void(const std::string& why_not)> refused;
        std::function<void()> ended;
    };

    // Starts reading path at once on a thread of its own.
    MappingFileLoader(std::string path, Callbacks callbacks);
    // Stops after the block being added and waits for that.
    ~MappingFileLoader();
    MappingFileLoader(const MappingFileLoader&) = delete;
    MappingFileLoader& operator=(const MappingFileLoader&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace pellox
