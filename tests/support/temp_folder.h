#pragma once
// A fresh folder under the system's temporary directory, removed with
// everything in it when the test ends.

#include <stdlib.h>  // mkdtemp

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace pellox {

class TempFolder {
public:
    TempFolder() : TempFolder(std::filesystem::temp_directory_path()) {}
    // Under another folder, such as /dev/shm for a tree of thousands of folders.
    explicit TempFolder(const std::filesystem::path& under) {
        std::string name = (under / "pellox-skin-test-XXXXXX").string();
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

    // Writes bytes to relative, making the folders on the way.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    std::filesystem::path Folder(const std::filesystem::path& relative) const {
        const std::filesystem::path folder = path_ / relative;
        std::filesystem::create_directories(folder);
        return folder;
    }

private:
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
