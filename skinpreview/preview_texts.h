#pragma once
// What the preview writes on the game window, in the interface's language.

#include <QString>
#include <QStringList>

#include "engine/language.h"

namespace pellox {

// The heading of the bar that lists what the last save broke.
QString BrokenSaveHeading(InterfaceLanguage language);
// The bar's last line when more failed than it shows.
QString MoreFailures(InterfaceLanguage language, qsizetype more);

}  // namespace pellox
