#include "startscreen/install_texts.h"

#include <QLocale>

#include "startscreen/failure_texts.h"
#include "startscreen/menu/start_texts.h"

namespace pellox {
namespace {

// The progress window grows with its longest line: a name longer than this
// keeps its start and its end (where the extension is).
constexpr qsizetype kLongestShownName = 60;

std::filesystem::path ShortenedName(const std::filesystem::path& source) {
    std::filesystem::path named = source;
    if (!named.has_filename()) named = named.parent_path();  // a folder dropped as "name/"
    const QString name = QString::fromStdString(named.filename().string());
    if (name.size() <= kLongestShownName) return named;
    const qsizetype half = kLongestShownName / 2 - 1;
    return (name.left(half) + u'…' + name.right(half)).toStdString();
}

QLocale LocaleOf(InterfaceLanguage language) {
    return IsRussian(language) ? QLocale(QLocale::Russian, QLocale::Russia)
                               : QLocale(QLocale::English, QLocale::UnitedKingdom);
}

}  // namespace

QString InstallSkinActionText(InterfaceLanguage language) {
    return QString::fromUtf8(StartTextsIn(language).install_skin);
}

QString InstallBoxTitle(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Установить скин") : QStringLiteral("Install a skin");
}

QString OpenSkinsFolderActionText(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Открыть папку скинов") : QStringLiteral("Open the skins folder");
}

QString SkinsFolderNotOpenedText(InterfaceLanguage language, const std::filesystem::path& folder) {
    const bool su = IsRussian(language);
    if (folder.empty())
        return su ? QStringLiteral("Папки скинов нет: не заданы ни XDG_DATA_HOME, ни HOME.")
                  : QStringLiteral("There is no skins folder: neither XDG_DATA_HOME nor HOME is set.");
    return (su ? QStringLiteral("Не удалось открыть папку скинов. Она здесь:\n%1")
               : QStringLiteral("The skins folder could not be opened. It is here:\n%1"))
        .arg(QString::fromStdString(folder.string()));
}

QString InstallProgressTitle(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Установка скина") : QStringLiteral("Installing a skin");
}

QString InstallCancelText(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Отмена") : QStringLiteral("Cancel");
}

QString InstallProgressText(InterfaceLanguage language, const std::filesystem::path& source, int number, int count,
                            const InstallProgress& so_far) {
    const bool su = IsRussian(language);
    const QLocale locale = LocaleOf(language);
    QString text = su ? QStringLiteral("Устанавливается %1") : QStringLiteral("Installing %1");
    text = text.arg(QuotedSource(language, ShortenedName(source)));
    if (count > 1)
        text += (su ? QStringLiteral(" (%1 из %2)") : QStringLiteral(" (%1 of %2)")).arg(number).arg(count);
    text += QStringLiteral("…\n");
    if (so_far.packed_total == 0) {
        text += su ? QStringLiteral("Копируются файлы скина.") : QStringLiteral("Copying the skin’s files.");
    } else {
        text += (su ? QStringLiteral("Распаковано файлов: %1 (%2)") : QStringLiteral("Files unpacked: %1 (%2)"))
                    .arg(locale.toString(static_cast<qulonglong>(so_far.entries)),
                         locale.formattedDataSize(static_cast<qint64>(so_far.unpacked_bytes), 1,
                                                  QLocale::DataSizeTraditionalFormat));
    }
    text += su ? QStringLiteral("\nИгру можно будет начать, когда установка закончится.")
               : QStringLiteral("\nThe game can be started once the install has finished.");
    return text;
}

}  // namespace pellox
