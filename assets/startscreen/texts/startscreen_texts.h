#pragma once
// The start screen's texts: the introduction, the memo (licence, foreword,
// rules, skins, requirements, troubleshooting, support), the year notice and
// the three credits (code, graphics, sounds), in Russian and in English.

#include <QString>

#include "engine/language.h"

namespace pellox {

struct StartScreenTexts {
    QString intro, memo, year;
    QString credits[3];
};

// The texts of one language, from the program's resources. Each file's final
// line end is dropped, so a one-line text is exactly one line; a text whose
// resource is missing is empty.
StartScreenTexts LoadStartScreenTexts(InterfaceLanguage language);

}  // namespace pellox
