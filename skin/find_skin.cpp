#include "skin/find_skin.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <set>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

#include "skin/ascii_text.h"
#include "skin/skin_probe.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// The kernel's own file systems hold no skins. /proc is the one that matters:
// its links (a process's cwd and root) lead into the trees of every running
// program, so a search started from "/" would walk them all again and again.
bool IsKernelFileSystem(const std::string& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0x9fa0:      // proc
        case 0x62656572:  // sysfs
        case 0x1cd1:      // devpts
        case 0x27e0eb:    // cgroup
        case 0x63677270:  // cgroup2
        case 0x64626720:  // debugfs
        case 0x74726163:  // tracefs
        case 0x73636673:  // securityfs
        case 0x6165676c:  // pstore
        case 0xcafe4a11:  // bpf
            return true;
        default:
            return false;
    }
}

// One walk over one or more roots; remembers every folder it entered.
class SkinSearch {
public:
    SkinSearch(std::string_view wanted, SkinMenu& menu) : wanted_(wanted), menu_(menu) {}

    // Paths are kept as plain strings on the way down: building a
    // std::filesystem::path for each of many thousands of entries costs more
    // than reading the folders.
    fs::path Search(const std::string& folder, int depth = 0) {
        if (!Enter(folder)) return {};
        const std::vector<Entry> entries = ListSorted(folder);

        for (const auto& [name, could_be_folder] : entries) {
            if (!EndsWithIgnoringAsciiCase(name, ".ini")) continue;
            fs::path candidate = Joined(folder, name);
            const SkinProbe skin = ProbeSkin(candidate);
            if (!skin.usable) continue;
            menu_.AddSkin(skin);
            if (skin.TitleSU == wanted_) return candidate;
        }
        // Each level costs a walk of the whole path in the system, so a chain
        // of 2000 folders took 2 s; no skin lies that deep.
        if (depth == kDeepestSkinFolder) return {};
        for (const auto& [name, could_be_folder] : entries) {
            if (!could_be_folder || name.starts_with('.')) continue;  // a file, or hidden
            fs::path found = Search(Joined(folder, name), depth + 1);
            if (!found.empty()) return found;
        }
        return {};
    }

private:
    // Whether folder is a folder not entered before; marks it entered. The
    // identity is the device and inode the path leads to, links followed, so
    // a second way into the same folder is recognised.
    static std::string Joined(const std::string& folder, const std::string& name) {
        return folder.ends_with('/') ? folder + name : folder + "/" + name;
    }

    bool Enter(const std::string& folder) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
        return entered_.emplace(info.st_dev, info.st_ino).second && !IsKernelFileSystem(folder);
    }

    struct Entry {
        std::string name;
        // The listing's own type says "folder", "link" or "unknown": only
        // those are looked into, so a tree of many files costs no stat per file.
        bool could_be_folder;
    };

    // Sorted case-blind first and byte-wise second, so that "B.ini" and
    // "b.ini" still come in one fixed order.
    static std::vector<Entry> ListSorted(const std::string& folder) {
        std::vector<std::pair<std::string, Entry>> keyed;
        DIR* listing = ::opendir(folder.c_str());
        if (listing == nullptr) return {};  // unreadable: passed over
        while (const dirent* e = ::readdir(listing)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const bool could_be_folder = e->d_type == DT_DIR || e->d_type == DT_LNK || e->d_type == DT_UNKNOWN;
            std::string folded = AsciiLowered(name);
            keyed.emplace_back(std::move(folded), Entry{std::move(name), could_be_folder});
        }
        ::closedir(listing);
        std::sort(keyed.begin(), keyed.end(),
                  [](const auto& a, const auto& b) { return std::tie(a.first, a.second.name) < std::tie(b.first, b.second.name); });
        std::vector<Entry> entries;
        entries.reserve(keyed.size());
        for (auto& [folded, entry] : keyed) entries.push_back(std::move(entry));
        return entries;
    }

    std::string_view wanted_;
    SkinMenu& menu_;
    std::set<std::pair<dev_t, ino_t>> entered_;
};

}  // namespace

fs::path FindSkin(const fs::path& folder, std::string_view wanted, SkinMenu& menu) {
    return SkinSearch(wanted, menu).Search(folder.string());
}

fs::path FindSkinInRoots(const std::vector<fs::path>& roots, std::string_view wanted,
                         SkinMenu& menu) {
    SkinSearch search(wanted, menu);
    for (const fs::path& root : roots) {
        fs::path found = search.Search(root.string());
        if (!found.empty()) return found;
    }
    return {};
}

}  // namespace pellox
