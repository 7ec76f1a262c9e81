#pragma once
// A private scratch folder for one process, such as a fuzz target's: under
// /dev/shm when it is there (no disk writes per input), else the temporary
// folder. Removed at exit.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace pellox {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        std::error_code ec;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path(ec);
        path_ = base / ("pellox-fuzz-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_, ec);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes the bytes to a file in the folder (folders on the way are made)
    // and gives its path.
    std::string Write(const std::filesystem::path& relative, const void* bytes, std::size_t size) const {
        const std::filesystem::path file = path_ / relative;
        std::error_code ec;
        std::filesystem::create_directories(file.parent_path(), ec);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
        return file.string();
    }
    std::string Write(const std::filesystem::path& relative, const std::string& text) const {
        return Write(relative, text.data(), text.size());
    }

    // Empties the folder, keeping the folder itself.
    void Clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
            std::filesystem::remove_all(entry.path(), ec);
    }

private:
    std::filesystem::path path_;
};

}  // namespace pellox
