#pragma once
// Unpacking an archive a player was given, which may be hostile: nothing is
// written outside the folder, no link is written at all, and the bounds stop
// a zip bomb by the bytes actually unpacked, whatever the headers claim.

#include <filesystem>
#include <string>
#include <vector>

#include "skininstall/archive_library.h"
#include "skininstall/install_progress.h"
#include "skininstall/install_skins.h"

namespace pellox {

struct UnpackResult {
    std::string error;               // why the archive was refused; empty when it unpacked
    std::vector<std::string> notes;  // entries passed over (links, devices), in words for the player
    bool cancelled = false;          // the monitor asked it to stop; error says so too
};

// Unpacks the archive at archive_file (zip, 7z, rar, tar and their
// compressions) into the existing folder into, telling monitor how far it
// got and stopping when it asks. On an error or a stop the folder may hold
// part of the archive: the caller throws it away. libarchive is opened at
// the first call; `library` is its file name (tests name a missing one).
UnpackResult UnpackArchive(const std::filesystem::path& archive_file, const std::filesystem::path& into,
                           const SkinInstallLimits& limits, InstallMonitor& monitor,
                           const std::string& library = kArchiveLibrary);

}  // namespace pellox
