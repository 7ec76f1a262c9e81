#include "skin/skin_search_roots.h"

#include <string_view>

#include "base/xdg_folder.h"

namespace pellox {
namespace {

constexpr std::string_view kDefaultDataDirs = "/usr/local/share:/usr/share";

std::filesystem::path SkinsUnder(const std::filesystem::path& data_folder) {
    return data_folder / "pellox" / "skins";
}

}  // namespace

SkinSearchEnvironment SkinSearchEnvironment::FromProcess() {
    return {EnvironmentValue("XDG_DATA_HOME"), EnvironmentValue("HOME"), EnvironmentValue("XDG_DATA_DIRS")};
}

std::filesystem::path InstalledSkinsFolder(const SkinSearchEnvironment& env) {
    const std::filesystem::path data_home = XdgHomeFolder(env.xdg_data_home, env.home, ".local/share");
    return data_home.empty() ? data_home : SkinsUnder(data_home);
}

std::vector<std::filesystem::path> SkinSearchRoots(const SkinSearchEnvironment& env) {
    std::vector<std::filesystem::path> roots{"."};
    if (std::filesystem::path own = InstalledSkinsFolder(env); !own.empty()) roots.push_back(std::move(own));

    std::string_view dirs = kDefaultDataDirs;
    if (env.xdg_data_dirs && !env.xdg_data_dirs->empty()) dirs = *env.xdg_data_dirs;
    while (true) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        if (IsUsableXdgFolder(dir)) roots.push_back(SkinsUnder(dir));
        if (colon == std::string_view::npos) break;
        dirs.remove_prefix(colon + 1);
    }
    return roots;
}

}  // namespace pellox
