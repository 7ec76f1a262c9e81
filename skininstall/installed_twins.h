#pragma once
// A skin met again at install: an archive installed twice, or a new version
// of a skin under the title of one installed before. The same files are not
// copied again; the same title with other files replaces the installed skin,
// or goes beside it under titles that tell the two apart.

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace pellox {

struct InstalledTwin {
    bool same_files = false;       // else the same Russian title with other files
    std::filesystem::path folder;  // the installed skin's folder, directly in the skins folder
    std::filesystem::path ini;     // its skin file
};

// Among the skins installed in skins_folder (one folder each, directly in it;
// hidden folders are installs in progress), one whose Russian title (UTF-8)
// is title: the one holding exactly built's files if there is one.
std::optional<InstalledTwin> FindInstalledTwin(const std::filesystem::path& skins_folder,
                                               const std::filesystem::path& built, const std::string& title);

// The Russian titles (UTF-8) of every skin installed in skins_folder.
std::set<std::string> InstalledTitles(const std::filesystem::path& skins_folder);

// Whether two folders hold the same files: the same names in the same
// folders, byte for byte. Links and other kinds of file make them differ.
bool SameFiles(const std::filesystem::path& a, const std::filesystem::path& b);

// The skin file's text with suffix added to the value of title and of
// titleGB (their last lines in the last [SETTINGS]; a titleGB left out or
// written as "no title" stays so, and the English menu shows the title);
// every other byte kept.
std::string WithTitlesSuffixed(const std::string& text, std::string_view suffix);

}  // namespace pellox
