#pragma once
// Applying a skin file: its settings, then every picture and sound entry,
// group by group. What a loaded picture or wave does to the game window is
// the target's business; the order, the defaults and the failure rules live here.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"
#include "skin/skin_entries.h"
#include "skin/skin_file.h"
#include "skin/skin_path.h"
#include "skin/sprite_entry.h"

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

// Relative paths in a skin resolve against the skin's dir when it names a
// folder (skins made for Windows rely on that), else against the folder the
// game was started in. A skin installed in a skin folder of its own cannot
// know where the game is started, so a relative path not found there is
// looked for beside the skin file too. The game never changes its current
// folder for a skin: the folder is a value handed to what resolves the files.

// The folder dir names (found as a picture's path is: "\" a separator,
// letter case free; then beside the skin file), or why there is none. A
// non-empty start stands for the folder the game was started in; empty, it
// is this process's current folder.
ResolvedSkinPath ResolveSkinDir(const std::string& dir, const std::filesystem::path& skin_folder,
                                const std::filesystem::path& start = {});

// The folder a launch resolves the skin's relative paths from: dir's folder
// when it names one, otherwise start (empty: the current folder).
std::filesystem::path SkinWorkFolder(const std::string& dir, const std::filesystem::path& skin_folder,
                                     const std::filesystem::path& start = {});

// The file an entry names: from work_folder (the skin's dir, see
// SkinWorkFolder; empty: the current folder), then beside the skin file.
// When neither holds it, the reason names both places.
ResolvedSkinPath ResolveSkinEntryPath(const std::string& written, const std::filesystem::path& skin_folder,
                                      const std::filesystem::path& work_folder = {});

// A sprite box past this size is no picture of a handheld; refusing it keeps
// a mistyped number from asking for a window or frame of gigabytes.
inline constexpr int kLargestSpriteBox_px = 16384;
// The window, its composed frame and its mask take the background's size: a
// background past this many pixels across or down would ask for gigabytes
// from a skin of a few bytes.
inline constexpr int kLargestBackground_px = 4096;

// Whether a sprite entry's box can be used, or why not.
Result<void> CheckSpriteBox(SpriteId sprite, const SpriteEntry& entry);

class SkinTarget {
public:
    virtual ~SkinTarget() = default;
    // Loaded, or why not; a failed entry must leave its sprite or sound as
    // it was.
    virtual Result<void> LoadSprite(SpriteId sprite, const SpriteEntry& entry, const std::filesystem::path& file) = 0;
    virtual Result<void> LoadSound(Effect effect, const std::filesystem::path& file) = 0;
};

struct SkinEntryFailure {
    std::string section;
    std::string key;
    std::string reason;
};

// One failure on a line after the skin it is in: "skin: [SECTION] key: reason",
// or "skin: reason" for one of the whole file.
std::string SkinEntryFailureLine(const std::string& skin, const SkinEntryFailure& failure);

// Where a skin's files are looked for: its dir's folder (empty: the current
// folder), then the skin file's own folder.
struct SkinFolders {
    std::filesystem::path work;
    std::filesystem::path skin;
};

// Reads one entry and hands its file to the target: loaded, or why not.
Result<void> ApplySkinEntry(const SkinFile& file, const SkinEntry& entry, const SkinFolders& folders,
                            SkinTarget& target);

// Tries every group in order; within a group the first failure ends it.
// Gives the failures, none when every entry loaded.
std::vector<SkinEntryFailure> ApplySkinEntries(const SkinFile& file, const SkinFolders& folders,
                                               SkinTarget& target);

}  // namespace pellox
