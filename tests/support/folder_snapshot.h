#pragma once
// Everything under a folder, each path with its bytes, for "left exactly as
// it was" checks.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace pellox {

// Relative path -> bytes; a folder's are "/". Hidden entries are included.
inline std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> seen;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string bytes = "/";
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        seen[entry.path().lexically_relative(folder).string()] = bytes;
    }
    return seen;
}

}  // namespace pellox
