#pragma once
// Where a launch would find the files a skin names, started in a given folder:
// the launch's own rules (dir entered when it names a folder, each path from
// the current folder, then beside the skin file) without moving this
// process's current folder.

#include <filesystem>
#include <optional>
#include <vector>

#include "skin/skin_file.h"

namespace pellox {

struct SkinFileLookup {
    // The folder dir enters; nothing when the launch stays in the start folder.
    std::optional<std::filesystem::path> dir_folder;
    // For each of the skin's picture and sound entries, in the launch's
    // order: the file found, or nothing.
    std::vector<std::optional<std::filesystem::path>> files;
    // Whether the entry's path is written absolute: such a file is the same
    // wherever the skin lies.
    std::vector<bool> written_absolute;
};

SkinFileLookup LookUpSkinFiles(const SkinFile& skin, const std::filesystem::path& start_folder,
                               const std::filesystem::path& skin_folder);

}  // namespace pellox
