#include "skin/skin_watch_list.h"

#include <string_view>
#include <system_error>
#include <vector>

#include "skin/skin_entries.h"
#include "skin/skin_path.h"
#include "skin/sprite_entry.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// Absolute and normal, without a trailing "/" (a dir of "." gives "folder/."),
// so that one folder is one path: the watch is set once and compared right.
fs::path Absolute(const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    fs::path normal = (ec ? path : absolute).lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    return normal;
}

// The path an entry names, as written; empty when the entry names none.
std::string WrittenPath(const SkinFile& file, const SkinEntry& entry) {
    const std::string value = file.Read(entry.section, entry.key, kMissingSpriteEntry);
    if (value == kMissingSpriteEntry) return {};
    if (entry.effect) return value;
    const ParsedSpriteEntry parsed = ParseSpriteEntry(value);
    return parsed ? parsed->path : std::string();
}

std::vector<std::string> FolderNames(const std::string& written) {
    std::vector<std::string> names;
    std::string name;
    for (char c : written) {
        if (c == '/' || c == '\\') {
            if (!name.empty()) names.push_back(std::move(name));
            name.clear();
        } else {
            name.push_back(c);
        }
    }
    return names;  // the last name, the file's, is left out
}

// The deepest folder that exists on the way from base to where written would
// lie: where the next folder or the file itself will appear.
fs::path DeepestFolderOnTheWay(const fs::path& base, const std::string& written) {
    const bool absolute = !written.empty() && (written.front() == '/' || written.front() == '\\');
    fs::path found = absolute ? fs::path("/") : base;
    for (const std::string& name : FolderNames(written)) {
        const ResolvedSkinPath next = ResolveSkinFolderPath((found / name).string());
        if (!next) break;
        found = *next;
    }
    return found;
}

}  // namespace

SkinFolders SkinFoldersFor(const fs::path& skin_file, const std::string& dir, const fs::path& start_folder) {
    const fs::path skin_folder = Absolute(skin_file).parent_path();
    return {Absolute(SkinWorkFolder(dir, skin_folder, Absolute(start_folder))), skin_folder};
}

SkinWatchList SkinWatchListFor(const fs::path& skin_file, const SkinFile* file, const SkinFolders& folders,
                               const fs::path& start_folder) {
    SkinWatchList list;
    const fs::path skin = Absolute(skin_file);
    list.files.insert(skin);
    list.folders.insert(skin.parent_path());
    if (!file) return list;
    if (folders.work == Absolute(start_folder)) list.folders.insert(Absolute(start_folder));
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            const std::string written = WrittenPath(*file, entry);
            if (written.empty()) continue;
            const ResolvedSkinPath found = ResolveSkinEntryPath(written, folders.skin, folders.work);
            if (found.ok()) {
                const fs::path path = Absolute(*found);
                list.files.insert(path);
                list.folders.insert(path.parent_path());
                continue;
            }
            list.folders.insert(Absolute(DeepestFolderOnTheWay(folders.work, written)));
            list.folders.insert(Absolute(DeepestFolderOnTheWay(folders.skin, written)));
        }
    }
    return list;
}

}  // namespace pellox
