#pragma once
// `pellox --install-skin PATH`: a skin as players share it (an archive, a
// folder or a skin file) installed where the skin search finds it, without a
// display or a sound device.

#include <filesystem>
#include <ostream>

#include "skininstall/install_skins.h"

namespace pellox {

// Installs every usable skin in source into skins_folder, then checks each
// installed skin file as --check-skin does. Says what it installed and where
// on out, gives 0; says why nothing was installed on err, gives 1. A skin
// that installed but fails its check still gives 0: it is in place, and the
// report says what to fix.
//
// The check enters each skin's dir as a launch does; the current folder is
// put back after each.
// A skin installed before with the same files is named and not copied (0);
// one whose title an installed skin has, with other files, goes beside it
// with " (2)" added to its titles, or replaces it with SameTitleChoice::Replace.
int InstallSkinCommand(const std::filesystem::path& source, const std::filesystem::path& skins_folder,
                       std::ostream& out, std::ostream& err, const SkinInstallLimits& limits = {},
                       SameTitleChoice same_title = SameTitleChoice::KeepBoth);

}  // namespace pellox
