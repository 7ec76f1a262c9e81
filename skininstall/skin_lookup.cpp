#include "skininstall/skin_lookup.h"

#include <string>
#include <string_view>

#include "skin/skin_apply.h"
#include "skin/skin_entries.h"
#include "skin/sprite_entry.h"

namespace pellox {
namespace {

bool IsAbsolute(std::string_view written) {
    return !written.empty() && (written.front() == '/' || written.front() == '\\');
}

// The path an entry names, or nothing when it names none.
std::optional<std::string> WrittenPath(const SkinFile& skin, const SkinEntry& entry) {
    const std::string value = skin.Read(entry.section, entry.key, kMissingSpriteEntry);
    if (entry.effect) {
        if (value == kMissingSpriteEntry) return std::nullopt;
        return value;
    }
    const ParsedSpriteEntry parsed = ParseSpriteEntry(value);
    if (!parsed) return std::nullopt;
    return parsed->path;
}

}  // namespace

SkinFileLookup LookUpSkinFiles(const SkinFile& skin, const std::filesystem::path& start_folder,
                               const std::filesystem::path& skin_folder) {
    SkinFileLookup lookup;
    const SkinSettings settings = ReadSkinSettings(skin);
    std::filesystem::path current = start_folder;
    const ResolvedSkinPath dir = ResolveSkinDir(settings.dir, skin_folder, start_folder);
    if (dir.ok()) {
        current = *dir;
        lookup.dir_folder = *dir;
    }
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            const std::optional<std::string> written = WrittenPath(skin, entry);
            std::optional<std::filesystem::path> found;
            if (written) {
                ResolvedSkinPath file = ResolveSkinEntryPath(*written, skin_folder, current);
                if (file.ok()) found = std::move(*file);
            }
            lookup.files.push_back(std::move(found));
            lookup.written_absolute.push_back(written && IsAbsolute(*written));
        }
    }
    return lookup;
}

}  // namespace pellox
