#pragma once
// The skin files in an unpacked archive or a folder a player offers: every
// "*.ini", as the skin search would meet them.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pellox {

struct SkinCandidates {
    std::vector<std::filesystem::path> inis;  // in name order, folder by folder
    std::vector<std::string> other_files;     // a few of the other files, to tell the player what was there
    std::string error;                        // a bound passed; empty otherwise
    // Folders lay deeper than the walk looks (kDeepestSkinFolder below the top).
    bool deeper_folders_left = false;
};

// Walks folder as the skin search does (hidden folders and macOS's
// "__MACOSX" left out, links not followed), at most max_entries entries deep
// down to the search's own depth.
SkinCandidates FindSkinCandidates(const std::filesystem::path& folder, std::uint64_t max_entries);

}  // namespace pellox
