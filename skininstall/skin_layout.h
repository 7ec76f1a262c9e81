#pragma once
// Laying out one installed skin so that it launches as it did where it was
// packed: its dir and every file it names resolve from the new folder, from
// whatever folder the game is started in.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"

namespace pellox {

struct BuiltSkin {
    std::filesystem::path ini_relative;  // the skin file inside the new folder
    // dir had to be rewritten: no layout kept the skin's own working.
    bool dir_rewritten = false;
    std::filesystem::path dir_written;  // the dir it was given, when rewritten
    // The skin file was Windows-1251 and is UTF-8 now, so that the names it
    // gives match the files' names, which are unpacked as UTF-8.
    bool converted_to_utf8 = false;
    // Some files the skin names were not found where it was packed either.
    bool files_missing = false;
};

struct SkinToBuild {
    std::filesystem::path ini;          // the skin file, in the source
    std::filesystem::path source_root;  // the folder the source stands for (where it would have been unpacked)
    std::filesystem::path build;        // the new folder to fill (made here)
    std::filesystem::path final_folder; // where build will be renamed to
    std::filesystem::path empty_start;  // an empty folder, standing for an unknown start folder
    // Whether files outside source_root may be copied: a folder or skin file
    // of the player's own may share pictures with its neighbours, while an
    // archive's paths must not reach into this machine's files.
    bool files_outside_root_allowed = false;
    // The source is the install's own scratch copy, on the same file system.
    bool link_instead_of_copy = false;
};

// Copies the skin file and every file it names that the source holds into
// build. bytes_left is the budget for what is copied, and is charged.
// Fails with why it could not be copied.
Result<BuiltSkin> BuildInstalledSkin(const SkinToBuild& what, std::uint64_t& bytes_left);

// The built skin goes to new_final instead of old_final, the folder it was
// built for: a dir rewritten into old_final is pointed into new_final.
// Gives false when the skin file cannot be written.
bool MoveBuiltSkin(const std::filesystem::path& build, BuiltSkin& built, const std::filesystem::path& old_final,
                   const std::filesystem::path& new_final);

// The skin file's text with its [SETTINGS] dir set to folder (the last dir
// line of the last [SETTINGS] replaced, or one added under that header),
// read past a UTF-8 byte-order mark as the game reads it. Nothing when the
// game would not read folder as the new dir (no [SETTINGS] to put it in, or
// a folder name with a line break): the caller must not claim it was set.
std::optional<std::string> WithSkinDir(const std::string& text, const std::string& folder);

}  // namespace pellox
