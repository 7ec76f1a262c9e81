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
// on out, and gives 0 when every skin installed passes its check. Gives 1
// when nothing was installed (why, on err) or when an installed skin fails
// its check: it stays in place, the report says what to fix and err says
// that it would not start. Names from outside are printed with control
// characters escaped. The current folder is never changed.
// A skin installed before with the same files is named and not copied (0);
// one whose title an installed skin has, with other files, goes beside it
// with " (2)" added to its titles, or replaces it with SameTitleChoice::Replace.
int InstallSkinCommand(const std::filesystem::path& source, const std::filesystem::path& skins_folder,
                       std::ostream& out, std::ostream& err, const SkinInstallLimits& limits = {},
                       SameTitleChoice same_title = SameTitleChoice::KeepBoth);

}  // namespace pellox
