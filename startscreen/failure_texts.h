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

// An archive, folder or skin file by its name, in the language's quotation marks.
QString QuotedSource(InterfaceLanguage language, const std::filesystem::path& source);

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

// A skin installed in its place that would not start, and why (its check's
// problems, one line each).
struct UnstartableSkin {
    InstalledSkin skin;
    std::vector<SkinEntryFailure> problems;
};

// The message when skins were installed but would not start: for each, its
// title, the first few reasons and where to mend it.
QString UnstartableSkinsText(InterfaceLanguage language, const std::vector<UnstartableSkin>& skins);

// The title of each message box.
QString LaunchFailureTitle(InterfaceLanguage language);
QString InstallFailureTitle(InterfaceLanguage language);
QString UnstartableSkinsTitle(InterfaceLanguage language);

}  // namespace pellox
