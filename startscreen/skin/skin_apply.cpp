#include "startscreen/skin/skin_apply.h"

#include <algorithm>
#include <system_error>

#include "startscreen/skin/skin_path.h"

namespace pellox {

SkinSettings ReadSkinSettings(const SkinFile& file) {
    SkinSettings s;
    s.title = file.Read("SETTINGS", "title", "\"Pellox\"");
    s.dir = file.Read("SETTINGS", "dir", ".");
    const std::string sound = file.Read("SETTINGS", "sound", "0");
    s.sound_on = !sound.empty() && sound.front() == '1';
    static constexpr std::string_view kDefaults[4] = {"W", "D", "O", "K"};
    for (std::size_t i = 0; i < 4; ++i)
        s.keys[i] = file.Read("SETTINGS", "key" + std::to_string(i), kDefaults[i]);
    return s;
}

bool EnterSkinDir(const std::string& dir) {
    const ResolvedSkinPath folder = ResolveSkinFolderPath(dir);
    if (!folder.error.empty()) return false;
    std::error_code ec;
    std::filesystem::current_path(folder.path, ec);
    return !ec;
}

namespace {

// The file an entry names, or why it cannot be used.
std::string Resolve(const std::string& written, std::filesystem::path& file) {
    ResolvedSkinPath resolved = ResolveSkinFilePath(written);
    if (!resolved.error.empty()) return resolved.error;
    file = std::move(resolved.path);
    return {};
}

std::string ApplyEntry(const SkinFile& skin, const SkinEntry& entry, SkinTarget& target) {
    const std::string value = skin.Read(entry.section, entry.key, kMissingSpriteEntry);
    std::filesystem::path file;
    if (entry.effect) {
        if (value == kMissingSpriteEntry) return "the entry is missing";
        if (std::string error = Resolve(value, file); !error.empty()) return error;
        return target.LoadSound(*entry.effect, file);
    }
    const ParsedSpriteEntry parsed = ParseSpriteEntry(value);
    if (!parsed.entry) return parsed.error;
    if (std::string error = Resolve(parsed.entry->path, file); !error.empty()) return error;
    return target.LoadSprite(*entry.sprite, *parsed.entry, file);
}

}  // namespace

std::vector<SkinEntryFailure> ApplySkinEntries(const SkinFile& file, SkinTarget& target) {
    std::vector<SkinEntryFailure> failures;
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            std::string reason = ApplyEntry(file, entry, target);
            if (reason.empty()) continue;
            failures.push_back({std::string(entry.section), entry.key, std::move(reason)});
            break;  // the rest of this group is not tried
        }
    }
    return failures;
}

}  // namespace pellox
