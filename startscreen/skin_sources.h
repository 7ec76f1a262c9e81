#pragma once
// What the start screen offers to install: the files players share skins as.
// A drag is taken only when everything in it is one of them, so the window
// says "no" at once to a picture or a web link rather than after the drop.

#include <filesystem>
#include <vector>

#include <QMimeData>
#include <QStringList>
#include <QString>
#include <QUrl>

#include "engine/language.h"

namespace pellox {

// A folder, a skin's .ini or an archive (.zip, .7z, .rar, .tar and its
// compressions), by its name; letter case does not matter.
bool IsSkinSourceName(const std::filesystem::path& path);

// The local files of a drag when every one is a folder or has a skin
// source's name; nothing otherwise (also for links to the web).
std::vector<std::filesystem::path> SkinSourcesOf(const QMimeData& data);

// The file dialog's filter for the sources it can open, in the language.
QString SkinSourceFilter(InterfaceLanguage language);

}  // namespace pellox
