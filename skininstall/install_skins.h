#pragma once
// Installing skins as players share them: an archive (.zip, .7z, .rar, .tar
// and their compressions), a folder or a skin's .ini, copied with everything
// each usable skin names into a folder of its own under the installed skins
// folder, where the skin search finds it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/skin_search_roots.h"
#include "skininstall/install_progress.h"

namespace pellox {

// Bounds that keep a hostile archive from filling the disk or the memory.
struct SkinInstallLimits {
    std::uint64_t max_unpacked_bytes = 256ull * 1024 * 1024;
    std::uint64_t max_entries = 10000;
    // Unpacked size over packed size, for archives (a zip bomb's is huge).
    double max_unpacked_per_packed = 200.0;
    // The ratio is judged only past this many bytes: a small skin of flat
    // pictures packs far tighter than a big one.
    std::uint64_t ratio_checked_from_bytes = 16ull * 1024 * 1024;
    // Skins one source may add to the menu; the rest are left out, and the
    // notes say so.
    std::size_t max_skins = 100;
};

struct InstalledSkin {
    std::string title_su;  // as the menu shows it in Russian, UTF-8
    std::string title_gb;  // as the menu shows it in English, UTF-8
    std::filesystem::path folder;  // the new folder under the installed skins folder
    std::filesystem::path ini;     // the skin file in it
};

// A skin file found in the source that was not installed, and why.
struct RejectedSkinCandidate {
    std::string where;   // its path inside the source, UTF-8
    std::string reason;  // in plain English
};

struct SkinInstallResult {
    std::vector<InstalledSkin> installed;
    std::vector<RejectedSkinCandidate> rejected;
    // Why nothing could be read or installed at all (an unreadable or unsafe
    // archive, a bound passed, no room); empty otherwise.
    std::string error;
    // What the player may want to know about an install that went through:
    // entries passed over (links, devices), a skin whose dir was rewritten.
    std::vector<std::string> notes;
    // Skins of the source installed before with exactly these files: not
    // copied again (the installed ones, for the menu to select).
    std::vector<InstalledSkin> already_installed;
    // With SameTitleChoice::Ask: the installed skins whose title a skin of
    // the source has, with other files. Nothing was installed; the player
    // chooses, and the install runs again with the choice.
    std::vector<InstalledSkin> to_choose;
    // The monitor stopped it: nothing was installed or left behind, and
    // error is kInstallCancelled.
    bool cancelled = false;

    bool Succeeded() const { return !installed.empty(); }
};

// What an install does with a skin whose Russian title an installed skin
// already has, with other files.
enum class SameTitleChoice {
    KeepBoth,  // installed beside it, " (2)" added to its titles (noted)
    Replace,   // installed in its place, the old one removed
    Ask,       // the monitor chooses (InstallMonitor::ChooseSameTitle); without its
               // answer nothing is installed and the skins are listed in to_choose
};

// Installs every usable skin in source into skins_folder (made when missing).
// Nothing is left behind when it fails; an installed skin never overwrites
// another one.
//
// source is an archive (any file not named *.ini), a folder, or a skin file.
// Each skin gets a folder named after its own folder ("name (2)" when taken)
// holding its .ini and the files it names, laid out so that they resolve from
// there as they did in the source, wherever the game is started; its dir is
// rewritten only when no layout does that (see notes). Runs on the calling
// thread and touches nothing but the file system: an archive is unpacked into
// a hidden folder in skins_folder, locked while the install runs, and hidden
// folders left by killed installs are removed (RemoveStaleSkinStaging).
// monitor, when given, hears how far the unpacking got and may stop the
// install at any point before the skins are renamed into place.
SkinInstallResult InstallSkins(const std::filesystem::path& source, const std::filesystem::path& skins_folder,
                               const SkinInstallLimits& limits = {},
                               SameTitleChoice same_title = SameTitleChoice::KeepBoth,
                               InstallMonitor* monitor = nullptr);

// Removes the hidden staging folders that killed installs left in
// skins_folder (up to the bound on what an install unpacks each): those that
// no install holds locked and that are more than a few seconds old. A live
// install's folder is never touched, whatever process namespace it runs in.
// Every install does this first; the start screen does it too.
void RemoveStaleSkinStaging(const std::filesystem::path& skins_folder);

}  // namespace pellox
