#include "startscreen/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "media/diagnostics.h"

namespace pellox {

QtTranslations::QtTranslations() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    russian_loaded_ = russian_.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                                    QStringLiteral("_"), folder);
    if (!russian_loaded_)
        qCWarning(lcGame,
                  "Qt's Russian translation (qtbase_ru.qm) is not in %s: buttons and dialogs stay English "
                  "(install qt6-translations-l10n)",
                  qUtf8Printable(folder));
}

QtTranslations::~QtTranslations() {
    if (installed_) QCoreApplication::removeTranslator(&russian_);
}

void QtTranslations::Use(InterfaceLanguage language) {
    const bool wanted = language == InterfaceLanguage::Russian && russian_loaded_;
    if (wanted == installed_) return;
    if (wanted)
        QCoreApplication::installTranslator(&russian_);
    else
        QCoreApplication::removeTranslator(&russian_);
    installed_ = wanted;
}

}  // namespace pellox
