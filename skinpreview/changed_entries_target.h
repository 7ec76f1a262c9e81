#pragma once
// Loads a skin entry into the game window only when something about it has
// changed since it last loaded: its box, the file it names, or that file on
// disk. An author's save touches one picture; the other 81 and the eight
// waves stay as they are, so a reload costs one picture, not the whole skin.

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "skin/skin_apply.h"

namespace pellox {

// What a file on disk is now: another inode after a save by rename, another
// size or time after one in place.
struct FileStamp {
    unsigned long long device = 0, inode = 0, size = 0;
    long long modified_ns = 0, changed_ns = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp StampOf(const std::filesystem::path& file);

class ChangedEntriesTarget final : public SkinTarget {
public:
    explicit ChangedEntriesTarget(SkinTarget& target) : target_(target) {}

    // The files the watcher saw change: their entries load again whatever
    // their stamps say (a file rewritten twice within the file system's
    // clock tick keeps its time).
    void StartPass(std::set<std::filesystem::path> fired);

    Result<void> LoadSprite(SpriteId sprite, const SpriteEntry& entry, const std::filesystem::path& file) override;
    Result<void> LoadSound(Effect effect, const std::filesystem::path& file) override;

    // Entries loaded in this pass.
    int LoadedInPass() const { return loaded_in_pass_; }
    // Whether a file loaded earlier is no longer what was read: it changed
    // between its read and the watch put on it again.
    bool AnyFileChangedSinceRead() const;

private:
    struct Loaded {
        Bounds box;
        std::filesystem::path file;
        FileStamp stamp;
        friend bool operator==(const Loaded&, const Loaded&) = default;
    };
    bool Unchanged(const Loaded* before, const Loaded& now) const;

    SkinTarget& target_;
    std::map<SpriteId, Loaded> sprites_;
    std::map<Effect, Loaded> sounds_;
    std::set<std::filesystem::path> fired_;
    int loaded_in_pass_ = 0;
};

}  // namespace pellox
