#pragma once
// What to watch so that every save of a skin is seen: the skin file, every
// file its entries name, and the folders they lie in or would appear in.
// Editors save by writing a new file and renaming it over the old one, and an
// author names a picture before drawing it: a folder's watch sees both.

#include <filesystem>
#include <set>
#include <string>

#include "skin/skin_apply.h"
#include "skin/skin_file.h"

namespace pellox {

// Where a skin's files are looked for, as a launch from start_folder looks:
// its dir's folder (start_folder when dir names none), then its own folder;
// both absolute.
SkinFolders SkinFoldersFor(const std::filesystem::path& skin_file, const std::string& dir,
                           const std::filesystem::path& start_folder);

struct SkinWatchList {
    std::set<std::filesystem::path> files;
    std::set<std::filesystem::path> folders;
    friend bool operator==(const SkinWatchList&, const SkinWatchList&) = default;
};

// The skin file and its folder; each entry's file and its folder when the
// entry finds one, else the deepest folder on the way to where it would lie
// (from folders.work and from beside the skin); the start folder when the
// dir is not found yet. file may be null when the skin file cannot be read.
SkinWatchList SkinWatchListFor(const std::filesystem::path& skin_file, const SkinFile* file,
                               const SkinFolders& folders, const std::filesystem::path& start_folder);

}  // namespace pellox
