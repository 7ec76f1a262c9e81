#include "skin/skin_apply.h"

#include <algorithm>
#include <system_error>

#include "skin/skin_text.h"

namespace pellox {

SkinSettings ReadSkinSettings(const SkinFile& file) {
    SkinSettings s;
    s.title = file.Read("SETTINGS", "title", "\"Pellox\"");
    s.dir = file.Read("SETTINGS", "dir", ".");
    const std::string sound = file.Read("SETTINGS", "sound", "0");
    s.sound_on = !sound.empty() && sound.front() == '1';
    for (std::size_t i = 0; i < s.keys.size(); ++i) {
        const char fallback = static_cast<char>(kSkinDefaultKeys[i]);  // W, D, O, K: ASCII
        s.keys[i] = file.Read("SETTINGS", "key" + std::to_string(i), std::string_view(&fallback, 1));
    }
    return s;
}

namespace {

bool IsRelative(const std::string& written) {
    return !written.empty() && written.front() != '/' && written.front() != '\\';
}

using Resolver = ResolvedSkinPath (*)(std::string_view, const std::filesystem::path&);

// From the first folder (the current one when empty), then beside the skin file.
ResolvedSkinPath ResolveFromEither(const std::string& written, const std::filesystem::path& skin_folder,
                                   const std::filesystem::path& first, Resolver resolve) {
    ResolvedSkinPath here = resolve(written, first);
    if (here || !IsRelative(written) || !here.reason().starts_with("no such file")) return here;
    ResolvedSkinPath beside = resolve(written, skin_folder.empty() ? std::filesystem::path(".") : skin_folder);
    if (beside) return beside;
    return Failure(here.reason() + "; beside the skin: " + beside.reason());
}

}  // namespace

ResolvedSkinPath ResolveSkinDir(const std::string& dir, const std::filesystem::path& skin_folder,
                                const std::filesystem::path& start) {
    return ResolveFromEither(dir, skin_folder, start, ResolveSkinFolderPath);
}

std::filesystem::path SkinWorkFolder(const std::string& dir, const std::filesystem::path& skin_folder,
                                     const std::filesystem::path& start) {
    ResolvedSkinPath folder = ResolveSkinDir(dir, skin_folder, start);
    return folder ? std::move(*folder) : start;
}

ResolvedSkinPath ResolveSkinEntryPath(const std::string& written, const std::filesystem::path& skin_folder,
                                      const std::filesystem::path& work_folder) {
    return ResolveFromEither(written, skin_folder, work_folder, ResolveSkinFilePath);
}

Result<void> CheckSpriteBox(SpriteId sprite, const SpriteEntry& e) {
    if (e.left > kLargestSpriteBox_px || e.top > kLargestSpriteBox_px || e.width > kLargestSpriteBox_px ||
        e.height > kLargestSpriteBox_px)
        return Failure("the box is larger than " + std::to_string(kLargestSpriteBox_px) + " pixels");
    if (sprite == SpriteId::imBckgrnd && (e.width > kLargestBackground_px || e.height > kLargestBackground_px))
        return Failure("the background is larger than " + std::to_string(kLargestBackground_px) + " pixels");
    return {};
}

Result<void> ApplySkinEntry(const SkinFile& skin, const SkinEntry& entry, const SkinFolders& folders,
                            SkinTarget& target) {
    const std::string value = skin.Read(entry.section, entry.key, kMissingSpriteEntry);
    if (entry.effect) {
        if (value == kMissingSpriteEntry) return Failure("the entry is missing");
        const ResolvedSkinPath file = ResolveSkinEntryPath(value, folders.skin, folders.work);
        if (!file) return Failure(file.reason());
        return target.LoadSound(*entry.effect, *file);
    }
    const ParsedSpriteEntry parsed = ParseSpriteEntry(value);
    if (!parsed) return Failure(parsed.reason());
    const ResolvedSkinPath file = ResolveSkinEntryPath(parsed->path, folders.skin, folders.work);
    if (!file) return Failure(file.reason());
    return target.LoadSprite(*entry.sprite, *parsed, *file);
}

std::string SkinEntryFailureLine(const std::string& skin, const SkinEntryFailure& failure) {
    if (failure.section.empty()) return skin + ": " + failure.reason;
    return skin + ": [" + failure.section + "] " + failure.key + ": " + failure.reason;
}

std::vector<SkinEntryFailure> ApplySkinEntries(const SkinFile& file, const SkinFolders& folders,
                                               SkinTarget& target) {
    std::vector<SkinEntryFailure> failures;
    for (const SkinEntryGroup& group : SkinEntryGroups()) {
        for (const SkinEntry& entry : group) {
            const Result<void> applied = ApplySkinEntry(file, entry, folders, target);
            if (applied) continue;
            failures.push_back({std::string(entry.section), entry.key, applied.reason()});
            break;  // the rest of this group is not tried
        }
    }
    return failures;
}

}  // namespace pellox
