#include "gamepad/mapping_file.h"

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "media/core/byte_source.h"

namespace pellox {
namespace {

// Lines handed on at a time: a few milliseconds of SDL's work even late in a
// full file, the longest a closing window waits for the loader, and the
// longest the window thread waits for SDL's lock while they go in.
constexpr std::size_t kLinesAtATime = 16;

std::string TooLarge(const std::string& path, std::uint64_t bytes) {
    return path + ": " + std::to_string(bytes) + " bytes, more than a mapping file holds (at most " +
           std::to_string(kMaxMappingFileBytes) + " are read): left unread";
}

}  // namespace

Result<std::string> ReadMappingFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found) return std::string();
    // Opened only when it is a regular file, and without ever waiting for a
    // writer.
    const Result<std::unique_ptr<FileSource>> opened = FileSource::Open(path);
    if (!opened) return Failure(opened.reason());
    FileSource& file = **opened;
    if (file.Size() > kMaxMappingFileBytes) return Failure(TooLarge(path, file.Size()));
    std::string text(static_cast<std::size_t>(file.Size()), '\0');
    text.resize(file.Read(text.data(), text.size()));
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
        const Result<std::string> text = ReadMappingFile(path);
        if (!text && callbacks.refused) callbacks.refused(text.reason());
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
