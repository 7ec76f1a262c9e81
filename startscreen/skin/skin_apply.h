#pragma once
// Applying a skin file: its settings, then every picture and sound entry,
// group by group. What a loaded picture or wave does to the game window is
// the target's business; the order, the defaults and the failure rules live here.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "startscreen/skin/skin_entries.h"
#include "startscreen/skin/skin_file.h"
#include "startscreen/skin/sprite_entry.h"

namespace pellox {

// The SETTINGS a launch reads, defaults applied; texts are the file's bytes.
struct SkinSettings {
    std::string title;  // "\"Pellox\"" when absent
    std::string dir;    // "." when absent
    bool sound_on = false;
    // key0..key3 for the upper left, upper right, lower left and lower right
    // chutes. The defaults give D to the upper right and O to the lower left,
    // the reverse of the built-in game, and a skin that leaves them out plays so.
    std::array<std::string, 4> keys;
};

SkinSettings ReadSkinSettings(const SkinFile& file);

// Makes dir the current directory when it names an existing folder (found
// as a picture's path is: "\" a separator, letter case free); otherwise
// nothing changes. Returns whether it changed.
bool EnterSkinDir(const std::string& dir);

class SkinTarget {
public:
    virtual ~SkinTarget() = default;
    // Give an empty text on success, otherwise why not; a failed entry must
    // leave its sprite or sound as it was.
    virtual std::string LoadSprite(SpriteId sprite, const SpriteEntry& entry, const std::filesystem::path& file) = 0;
    virtual std::string LoadSound(Effect effect, const std::filesystem::path& file) = 0;
};

struct SkinEntryFailure {
    std::string section;
    std::string key;
    std::string reason;
};

// Tries every group in order; within a group the first failure ends it.
// Gives the failures, none when every entry loaded.
std::vector<SkinEntryFailure> ApplySkinEntries(const SkinFile& file, SkinTarget& target);

}  // namespace pellox
