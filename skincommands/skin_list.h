#pragma once
// `pellox --list-skins`: the skin menu as the start screen fills it, and the
// folders it looks in, for a player who wonders why a skin is not offered.

#include <filesystem>
#include <ostream>
#include <vector>

namespace pellox {

// Searches roots as the start screen does and writes to out every menu entry
// (its Russian and English titles and its file), which entry the start screen
// opens on, and each folder searched in order with whether it is there.
// installed_folder, where installed skins go, is named as such in the list.
// Gives 0, also when no skin is found.
int ListSkinsCommand(const std::vector<std::filesystem::path>& roots, const std::filesystem::path& installed_folder,
                     std::ostream& out);

}  // namespace pellox
