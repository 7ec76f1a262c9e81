#include "skininstall/skin_lookup.h"

#include <string>
#include <string_view>

#include "skin/skin_apply.h"
#include "skin/skin_entries.h"
#include "skin/skin_path.h"
#include "skin/sprite_entry.h"

namespace pellox {
namespace {

bool IsAbsolute(std::string_view written) {
    return !written.empty() && (written.front() == '/' || written.front() == '\\');
}

// As the launch resolves a path, with current standing for its current folder.
ResolvedSkinPath ResolveFrom(const std::filesystem::path& current, const std::filesystem::path& skin_folder,
                             const std::string& written, ResolvedSkinPath (*resolve)(std::string_view)) {
    if (written.empty() || IsAbsolute(written)) return resolve(written);
    ResolvedSkinPath here = resolve(current.string() + "/" + written);
    if (here.error.empty() || !here.error.starts_with("no such file")) return here;
    return resolve(skin_folder.string() + "/" + written);
}

// The path an entry names, or nothing when it names none.
std::optional<std::string> WrittenPath(const SkinFile& skin, const SkinEntry& entry) {
    const std::string value = skin.Read(entry.section, entry.key, kMissingSpriteEntry);
    if (entry.effect) {
        if (value == kMissingSpriteEntry) return std::nullopt;
        return value;
    }
    const ParsedSpriteEntry parsed = ParseSpriteEntry(value);
    if (!parsed.entry) return std::nullopt;
    return parsed.entry->path;
}

}  // namespace

SkinFileLookup LookUpSkinFiles(const SkinFile& skin, const std::filesystem::path& start_folder,
                               const std::filesystem::path& skin_folder) {
    SkinFileLookup lookup;
    const SkinSettings settings = ReadSkinSettings(skin);
    std::filesystem::path current = start_folder;
    const ResolvedSkinPath dir = ResolveFrom(start_folder, skin_folder, settings.dir, ResolveSkinFolderPath);
    if (dir.error.empty()) {
        current = dir.path;
        lookup.dir_folder = dir.path;
    }
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            const std::optional<std::string> written = WrittenPath(skin, entry);
            std::optional<std::filesystem::path> found;
            if (written) {
                ResolvedSkinPath file = ResolveFrom(current, skin_folder, *written, ResolveSkinFilePath);
                if (file.error.empty()) found = std::move(file.path);
            }
            lookup.files.push_back(std::move(found));
            lookup.written_absolute.push_back(written && IsAbsolute(*written));
        }
    }
    return lookup;
}

}  // namespace pellox
