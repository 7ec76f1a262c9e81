#pragma once
// Where skin files are looked for: the current directory first, as a player
// who unpacks a skin next to the game expects, then the XDG data folders
// where a package or the player installs them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pellox {

// The environment values that place the data folders; nothing for a
// variable that is not set.
struct SkinSearchEnvironment {
    std::optional<std::string> xdg_data_home;
    std::optional<std::string> home;
    std::optional<std::string> xdg_data_dirs;

    static SkinSearchEnvironment FromProcess();
};

// ".", then $XDG_DATA_HOME/pellox/skins (else $HOME/.local/share/pellox/skins),
// then pellox/skins under each folder of $XDG_DATA_DIRS (else /usr/local/share
// and /usr/share). As the XDG rules ask, an empty or relative value counts as
// unset. Roots that turn out to be the same folder are left to the search,
// which never enters a folder twice.
std::vector<std::filesystem::path> SkinSearchRoots(const SkinSearchEnvironment& env);

// The player's own skins folder, where skins are installed: $XDG_DATA_HOME/
// pellox/skins, else $HOME/.local/share/pellox/skins (the first root above
// after "."); empty when neither variable holds an absolute path.
std::filesystem::path InstalledSkinsFolder(const SkinSearchEnvironment& env);

}  // namespace pellox
