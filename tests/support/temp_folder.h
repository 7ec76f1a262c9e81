#pragma once
// A fresh folder of the test's own, removed with everything in it when the
// helper goes: on disk under the system's temporary folder, or in memory
// under /dev/shm (else the temporary folder), for a tree of thousands of
// folders or a fuzz target that writes a file per input.

#include <stdlib.h>  // mkdtemp

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>  // access

namespace pellox {

class TempFolder {
public:
    enum class Where { Disk, Memory };

    explicit TempFolder(Where where = Where::Disk) {
        std::string name = (Base(where) / "pellox-test-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed for " + name);
        path_ = name;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes bytes to relative, making the folders on the way; throws when
    // it cannot.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const {
        std::error_code ec;
        const std::filesystem::path file = TryWrite(relative, bytes, ec);
        if (ec) throw std::filesystem::filesystem_error("cannot write", path_ / relative, ec);
        return file;
    }
    std::filesystem::path Write(const std::filesystem::path& relative, const void* bytes, std::size_t size) const {
        return Write(relative, std::string_view(static_cast<const char*>(bytes), size));
    }
    // The same, for names that may not be writable (a fuzz input's: a file
    // where a folder is wanted): ec says why nothing was written.
    std::filesystem::path TryWrite(const std::filesystem::path& relative, std::string_view bytes,
                                   std::error_code& ec) const {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) return file;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) ec = std::make_error_code(std::errc::io_error);
        return file;
    }

    std::filesystem::path Folder(const std::filesystem::path& relative) const {
        const std::filesystem::path folder = path_ / relative;
        std::filesystem::create_directories(folder);
        return folder;
    }

    // Empties the folder, keeping the folder itself.
    void Clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
            std::filesystem::remove_all(entry.path(), ec);
    }

private:
    static std::filesystem::path Base(Where where) {
        std::error_code ec;
        if (where == Where::Memory && std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0)
            return "/dev/shm";
        return std::filesystem::temp_directory_path();
    }

    std::filesystem::path path_;
};

// Puts the process's current directory back when the test ends; the launch
// and the skin check move it (a skin's dir), and path tests enter a folder.
class CurrentDirGuard {
public:
    CurrentDirGuard() : saved_(std::filesystem::current_path()) {}
    // Also enters folder for the guard's life.
    explicit CurrentDirGuard(const std::filesystem::path& folder) : CurrentDirGuard() {
        std::filesystem::current_path(folder);
    }
    ~CurrentDirGuard() {
        std::error_code ec;
        std::filesystem::current_path(saved_, ec);
    }
    CurrentDirGuard(const CurrentDirGuard&) = delete;
    CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

private:
    std::filesystem::path saved_;
};

}  // namespace pellox
