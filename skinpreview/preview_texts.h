#pragma once
// What the preview writes on the game window, in the interface's language.
// Section and key names, file names and the reader's reasons are shown as
// they are.

#include <optional>

#include <QSize>
#include <QString>
#include <QStringList>

#include "engine/effects.h"
#include "engine/language.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {

// The heading of the bar that lists what the last save broke.
QString BrokenSaveHeading(InterfaceLanguage language);
// The bar's last line when more failed than it shows.
QString MoreFailures(InterfaceLanguage language, qsizetype more);

// The keys of the author's views, one line.
QString HelpLine(InterfaceLanguage language);
// The sprite being stepped through: its entry, box and picture size, and
// whether the picture's size differs from its box.
QString SpriteLine(InterfaceLanguage language, SpriteId sprite, const Bounds& box, QSize picture);
// The sound just played: its entry and length.
QString SoundLine(InterfaceLanguage language, Effect effect, std::optional<double> seconds);

}  // namespace pellox
