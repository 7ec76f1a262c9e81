#pragma once
// Qt's own texts (a message box's buttons, the file dialog) in the start
// screen's language: Debian's qt6-translations-l10n, from Qt's translations
// folder. English is Qt's own language and needs none.

#include <memory>

#include <QTranslator>

#include "engine/language.h"

namespace pellox {

class QtTranslations {
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs the language's translation on the application in place of
    // the one before. Dialogs made from then on speak it.
    void Use(InterfaceLanguage language);
    // Whether the Russian translation was found; without it (the package
    // missing) Qt's texts stay English, and that is told once.
    bool HasRussian() const { return russian_loaded_; }

private:
    QTranslator russian_;
    bool russian_loaded_ = false;
    bool installed_ = false;
};

}  // namespace pellox
