#include "startscreen/skin/find_skin.h"

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "startscreen/skin/ascii_text.h"
#include "startscreen/skin/skin_probe.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// One walk over one or more roots; remembers every folder it entered.
class SkinSearch {
public:
    SkinSearch(std::string_view wanted, SkinMenu& menu) : wanted_(wanted), menu_(menu) {}

    fs::path Search(const fs::path& folder) {
        if (!Enter(folder)) return {};
        const std::vector<std::string> names = ListSorted(folder);

        for (const std::string& name : names) {
            if (!EndsWithIgnoringAsciiCase(name, ".ini")) continue;
            fs::path candidate = folder / name;
            const SkinProbe skin = ProbeSkin(candidate);
            if (!skin.usable) continue;
            menu_.AddSkin(skin);
            if (skin.TitleSU == wanted_) return candidate;
        }
        for (const std::string& name : names) {
            if (name.starts_with('.')) continue;  // hidden
            fs::path found = Search(folder / name);
            if (!found.empty()) return found;
        }
        return {};
    }

private:
    // Whether folder is a folder not entered before; marks it entered. The
    // identity is the device and inode the path leads to, links followed, so
    // a second way into the same folder is recognised.
    bool Enter(const fs::path& folder) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
        return entered_.emplace(info.st_dev, info.st_ino).second;
    }

    // Sorted case-blind first and byte-wise second, so that "B.ini" and
    // "b.ini" still come in one fixed order.
    static std::vector<std::string> ListSorted(const fs::path& folder) {
        std::vector<std::pair<std::string, std::string>> keyed;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string name = it->path().filename().string();
            keyed.emplace_back(AsciiLowered(name), std::move(name));
        }
        std::sort(keyed.begin(), keyed.end());
        std::vector<std::string> names;
        names.reserve(keyed.size());
        for (auto& [folded, name] : keyed) names.push_back(std::move(name));
        return names;
    }

    std::string_view wanted_;
    SkinMenu& menu_;
    std::set<std::pair<dev_t, ino_t>> entered_;
};

}  // namespace

fs::path FindSkin(const fs::path& folder, std::string_view wanted, SkinMenu& menu) {
    return SkinSearch(wanted, menu).Search(folder);
}

fs::path FindSkinInRoots(const std::vector<fs::path>& roots, std::string_view wanted,
                         SkinMenu& menu) {
    SkinSearch search(wanted, menu);
    for (const fs::path& root : roots) {
        fs::path found = search.Search(root);
        if (!found.empty()) return found;
    }
    return {};
}

}  // namespace pellox
