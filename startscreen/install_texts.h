#pragma once
// The words of installing a skin from the start screen, in its language: the
// context menu's entries, the progress window, the skins folder's box.

#include <cstdint>
#include <filesystem>

#include <QString>

#include "engine/language.h"
#include "skininstall/install_progress.h"

namespace pellox {

QString InstallSkinActionText(InterfaceLanguage language);   // "Install a skin…"
QString InstallBoxTitle(InterfaceLanguage language);          // the same, as a window's title
QString OpenSkinsFolderActionText(InterfaceLanguage language);

// Where the skins folder is, when no file manager could open it (an empty
// folder: neither XDG_DATA_HOME nor HOME is set).
QString SkinsFolderNotOpenedText(InterfaceLanguage language, const std::filesystem::path& folder);

// The progress window: its title, its button, and what it says of the
// install of source, the number-th of count installs queued together.
QString InstallProgressTitle(InterfaceLanguage language);
QString InstallCancelText(InterfaceLanguage language);
QString InstallProgressText(InterfaceLanguage language, const std::filesystem::path& source, int number, int count,
                            const InstallProgress& so_far);

}  // namespace pellox
