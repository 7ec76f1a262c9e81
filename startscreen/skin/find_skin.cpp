#include "startscreen/skin/find_skin.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

#include "startscreen/skin/ascii_text.h"
#include "startscreen/skin/skin_probe.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

constexpr long kEntriesBetweenChecks = 4096;

}  // namespace

// The kernel's own file systems hold no skins. /proc is the one that matters:
// its links (a process's cwd and root) lead into the trees of every running
// program, so a search started from "/" would walk them all again and again.
// Over the network every folder costs a round trip, and a server that does
// not answer would hold the search for as long as the mount waits.
FileSystemKind KindOfFileSystem(unsigned long f_type) {
    switch (f_type) {
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
            return FileSystemKind::Kernel;
        case 0x6969:      // nfs
        case 0x517b:      // smb
        case 0xff534d42:  // cifs
        case 0xfe534d42:  // smb2
        case 0x65735546:  // fuse: sshfs, rclone, gvfs, and also ntfs-3g disks
        case 0x01021997:  // 9p
        case 0x5346414f:  // afs
        case 0x6b414653:  // kafs
        case 0x00c36400:  // ceph
        case 0x73757245:  // coda
        case 0x564c:      // ncp
        case 0x0bd00bd0:  // lustre
        case 0x47504653:  // gpfs
        case 0x20030528:  // orangefs
        case 0x01161970:  // gfs2
        case 0x7461636f:  // ocfs2
        case 0x0187:      // autofs: looking inside mounts what it stands for
            return FileSystemKind::Remote;
        default:
            return FileSystemKind::Local;
    }
}

namespace {

FileSystemKind KindOfFolder(const std::string& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return FileSystemKind::Local;
    return KindOfFileSystem(static_cast<unsigned long>(info.f_type));
}

// One walk over one or more roots; remembers every folder it entered.
class SkinSearch {
public:
    SkinSearch(std::string_view wanted, const SkinFoundFn& found, const SkinSearchGoOnFn& go_on)
        : wanted_(wanted), found_(found), go_on_(go_on) {}

    // Paths are kept as plain strings on the way down: building a
    // std::filesystem::path for each of many thousands of entries costs more
    // than reading the folders.
    fs::path Search(const std::string& folder) { return Search(folder, 0, std::nullopt); }

    bool Stopped() const { return stopped_; }

private:
    fs::path Search(const std::string& folder, int depth, std::optional<dev_t> parent_device) {
        if (!GoOn()) return {};
        const std::optional<dev_t> device = Enter(folder, parent_device);
        if (!device) return {};
        const std::vector<Entry> entries = ListSorted(folder);

        for (const auto& [name, could_be_folder] : entries) {
            if (!EndsWithIgnoringAsciiCase(name, ".ini")) continue;
            if (!GoOn()) return {};
            fs::path candidate = Joined(folder, name);
            const SkinProbe skin = ProbeSkin(candidate);
            if (!skin.usable) continue;
            found_(skin, candidate);
            if (skin.TitleSU == wanted_) return candidate;
        }
        // Each level costs a walk of the whole path in the system, so a chain
        // of 2000 folders took 2 s; no skin lies that deep.
        if (depth == kDeepestSkinFolder) return {};
        for (const auto& [name, could_be_folder] : entries) {
            if (!could_be_folder || name.starts_with('.')) continue;  // a file, or hidden
            fs::path found = Search(Joined(folder, name), depth + 1, *device);
            if (!found.empty() || stopped_) return found;
        }
        return {};
    }

    bool GoOn() {
        if (!stopped_ && go_on_ && !go_on_()) stopped_ = true;
        return !stopped_;
    }

    static std::string Joined(const std::string& folder, const std::string& name) {
        return folder.ends_with('/') ? folder + name : folder + "/" + name;
    }

    // The device of folder when it is a folder to walk, not entered before;
    // marks it entered. The identity is the device and inode the path leads
    // to, links followed, so a second way into the same folder is recognised.
    // A remote file system is walked only where a root lies on it, not where
    // a folder below leads into it.
    std::optional<dev_t> Enter(const std::string& folder, std::optional<dev_t> parent_device) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
        if (!entered_.emplace(info.st_dev, info.st_ino).second) return std::nullopt;
        switch (KindOfFolder(folder)) {
            case FileSystemKind::Kernel: return std::nullopt;
            case FileSystemKind::Remote:
                if (parent_device && *parent_device != info.st_dev) return std::nullopt;
                break;
            case FileSystemKind::Local: break;
        }
        return info.st_dev;
    }

    struct Entry {
        std::string name;
        // The listing's own type says "folder", "link" or "unknown": only
        // those are looked into, so a tree of many files costs no stat per file.
        bool could_be_folder;
    };

    // Sorted case-blind first and byte-wise second, so that "B.ini" and
    // "b.ini" still come in one fixed order.
    std::vector<Entry> ListSorted(const std::string& folder) {
        std::vector<std::pair<std::string, Entry>> keyed;
        DIR* listing = ::opendir(folder.c_str());
        if (listing == nullptr) return {};  // unreadable: passed over
        long read = 0;
        while (const dirent* e = ::readdir(listing)) {
            if (++read % kEntriesBetweenChecks == 0 && !GoOn()) break;
            std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const bool could_be_folder = e->d_type == DT_DIR || e->d_type == DT_LNK || e->d_type == DT_UNKNOWN;
            std::string folded = AsciiLowered(name);
            keyed.emplace_back(std::move(folded), Entry{std::move(name), could_be_folder});
        }
        ::closedir(listing);
        if (stopped_) return {};
        std::sort(keyed.begin(), keyed.end(),
                  [](const auto& a, const auto& b) { return std::tie(a.first, a.second.name) < std::tie(b.first, b.second.name); });
        std::vector<Entry> entries;
        entries.reserve(keyed.size());
        for (auto& [folded, entry] : keyed) entries.push_back(std::move(entry));
        return entries;
    }

    std::string_view wanted_;
    const SkinFoundFn& found_;
    const SkinSearchGoOnFn& go_on_;
    bool stopped_ = false;
    std::set<std::pair<dev_t, ino_t>> entered_;
};

}  // namespace

fs::path SearchSkins(const std::vector<fs::path>& roots, std::string_view wanted, const SkinFoundFn& found,
                     const SkinSearchGoOnFn& go_on) {
    SkinSearch search(wanted, found, go_on);
    for (const fs::path& root : roots) {
        fs::path hit = search.Search(root.string());
        if (!hit.empty() || search.Stopped()) return hit;
    }
    return {};
}

fs::path FindSkin(const fs::path& folder, std::string_view wanted, SkinMenu& menu) {
    return FindSkinInRoots({folder}, wanted, menu);
}

fs::path FindSkinInRoots(const std::vector<fs::path>& roots, std::string_view wanted, SkinMenu& menu) {
    return SearchSkins(roots, wanted, [&menu](const SkinProbe& skin, const fs::path& file) { menu.AddSkin(skin, file); });
}

}  // namespace pellox
