#pragma once
// What the start screen tells the player when a skin did not start or could
// not be installed, in the start screen's language: the first few reasons,
// then how many more, so that the box fits on the screen.

#include <filesystem>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/language.h"
#include "skininstall/install_skins.h"
#include "startscreen/launch.h"

namespace pellox {

// The message of a failed launch: the first few failed entries, then how
// many more; the reasons in language, paths as ShownPath shows them.
QString LaunchFailureText(InterfaceLanguage language, const LaunchFailure& failure);

// A file or folder from which nothing could be installed, and the installer's answer.
struct FailedInstall {
    std::filesystem::path source;
    SkinInstallResult result;
};

// The message of a failed install: for each source, why nothing could be
// read when that is so, then the skin files found and why each was left out.
QString InstallFailureText(InterfaceLanguage language, const std::vector<FailedInstall>& failed);

// The skins that were installed already with the same files, by title.
QString AlreadyInstalledText(InterfaceLanguage language, const QStringList& titles);

// Whether skins whose titles installed skins have, with other files, replace them.
QString SameTitleQuestion(InterfaceLanguage language, const QStringList& titles);

// The title of each message box.
QString LaunchFailureTitle(InterfaceLanguage language);
QString InstallFailureTitle(InterfaceLanguage language);

}  // namespace pellox
