#include "skinpreview/changed_entries_target.h"

#include <sys/stat.h>

namespace pellox {

FileStamp StampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return {};
    auto ns = [](const timespec& t) { return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec; };
    return {static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
            static_cast<unsigned long long>(info.st_size), ns(info.st_mtim), ns(info.st_ctim)};
}

void ChangedEntriesTarget::StartPass(std::set<std::filesystem::path> fired) {
    fired_ = std::move(fired);
    loaded_in_pass_ = 0;
}

bool ChangedEntriesTarget::Unchanged(const Loaded* before, const Loaded& now) const {
    return before && *before == now && !fired_.count(now.file);
}

Result<void> ChangedEntriesTarget::LoadSprite(SpriteId sprite, const SpriteEntry& entry,
                                              const std::filesystem::path& file) {
    // Stamped before the read: a write during it shows as a change afterwards.
    const Loaded now{{entry.left, entry.top, entry.width, entry.height}, file.lexically_normal(), StampOf(file)};
    const auto before = sprites_.find(sprite);
    if (Unchanged(before == sprites_.end() ? nullptr : &before->second, now)) return {};
    if (Result<void> loaded = target_.LoadSprite(sprite, entry, file); !loaded) return loaded;
    sprites_[sprite] = now;
    ++loaded_in_pass_;
    return {};
}

Result<void> ChangedEntriesTarget::LoadSound(Effect effect, const std::filesystem::path& file) {
    const Loaded now{{}, file.lexically_normal(), StampOf(file)};
    const auto before = sounds_.find(effect);
    if (Unchanged(before == sounds_.end() ? nullptr : &before->second, now)) return {};
    if (Result<void> loaded = target_.LoadSound(effect, file); !loaded) return loaded;
    sounds_[effect] = now;
    ++loaded_in_pass_;
    return {};
}

bool ChangedEntriesTarget::AnyFileChangedSinceRead() const {
    auto changed = [](const auto& loaded) {
        for (const auto& [_, entry] : loaded)
            if (StampOf(entry.file) != entry.stamp) return true;
        return false;
    };
    return changed(sprites_) || changed(sounds_);
}

}  // namespace pellox
