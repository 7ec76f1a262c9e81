#include "startscreen/failure_texts.h"

#include "startscreen/menu/start_texts.h"
#include "startscreen/reason_texts.h"

namespace pellox {
namespace {

constexpr std::size_t kShownLines = 5;

// A text of the table the page shares, its %1 filled in.
QString Shared(const char* utf8) { return QString::fromUtf8(utf8); }

// A bullet per line up to kShownLines, then how many more.
QString Bullets(InterfaceLanguage language, const std::vector<QString>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size() && i < kShownLines; ++i) text += QStringLiteral("• ") + lines[i] + u'\n';
    if (lines.size() > kShownLines) {
        const qsizetype more = static_cast<qsizetype>(lines.size() - kShownLines);
        text += Shared(StartTextsIn(language).and_more).arg(more) + u'\n';
    }
    return text;
}

// The paths a reason quotes, as ShownPath shows them: the start folder's
// own prefix and "." steps dropped.
// The start folder itself ("./") is named in full: an empty name says nothing.
QString PathsFrom(const std::filesystem::path& start_folder, QString reason) {
    QString prefix;
    if (!start_folder.empty()) {
        prefix = QString::fromStdString(start_folder.lexically_normal().string());
        if (!prefix.endsWith(u'/')) prefix += u'/';
    }
    reason.replace(QStringLiteral("/./"), QStringLiteral("/"));
    const QStringList parts = reason.split(QStringLiteral("\"./\""));
    QStringList cleaned;
    for (QString part : parts) {
        part.replace(QStringLiteral("\"./"), QStringLiteral("\""));
        if (!prefix.isEmpty()) part.replace(QStringLiteral("\"") + prefix, QStringLiteral("\""));
        cleaned << part;
    }
    const QString start = prefix.isEmpty() ? QStringLiteral("./") : prefix;
    return cleaned.join(QStringLiteral("\"") + start + QStringLiteral("\""));
}

}  // namespace

QString QuotedSource(InterfaceLanguage language, const std::filesystem::path& source) {
    std::filesystem::path shown = source;
    if (!shown.has_filename()) shown = shown.parent_path();  // a folder dropped as "name/"
    const QString name = QString::fromStdString(shown.filename().string());
    return Shared(StartTextsIn(language).quoted).arg(name);
}

namespace {

QString OneSource(InterfaceLanguage language, const FailedInstall& failed) {
    const StartTexts& words = StartTextsIn(language);
    QString text = Shared(words.nothing_installed_from).arg(QuotedSource(language, failed.source)) + u'\n';
    const SkinInstallResult& result = failed.result;
    if (!result.error.empty()) text += ReasonText(language, result.error) + u'\n';
    if (!result.rejected.empty()) {
        text += Shared(words.rejected_heading) + u'\n';
        std::vector<QString> lines;
        for (const RejectedSkinCandidate& candidate : result.rejected)
            lines.push_back(QString::fromStdString(candidate.where) + QStringLiteral(": ") +
                            ReasonText(language, candidate.reason));
        text += Bullets(language, lines);
    } else if (result.error.empty()) {
        text += Shared(words.no_skin_file) + u'\n';
    }
    return text;
}

// A skin's title in the language's quotation marks.
QString Quoted(InterfaceLanguage language, const QString& title) {
    return Shared(StartTextsIn(language).quoted).arg(title);
}

QString QuotedTitles(InterfaceLanguage language, const QStringList& titles) {
    QStringList quoted;
    for (const QString& title : titles) quoted << Quoted(language, title);
    return quoted.join(QStringLiteral(", "));
}

QString OneUnstartable(InterfaceLanguage language, const UnstartableSkin& unstartable) {
    const bool russian = IsRussian(language);
    const QString title =
        QString::fromStdString(russian ? unstartable.skin.title_su : unstartable.skin.title_gb);
    QString text = russian ? QStringLiteral("Скин %1 установлен, но не запустится:\n")
                           : QStringLiteral("%1 was installed, but it would not start:\n");
    text = text.arg(Quoted(language, title));
    std::vector<QString> lines;
    for (const SkinEntryFailure& problem : unstartable.problems) {
        const QString reason = ReasonText(language, problem.reason);
        lines.push_back(problem.section.empty() ? reason
                                                : QStringLiteral("[%1] %2: %3")
                                                      .arg(QString::fromStdString(problem.section),
                                                           QString::fromStdString(problem.key), reason));
    }
    text += Bullets(language, lines);
    text += (russian ? QStringLiteral("Скин остался в меню; исправить его можно в папке:\n%1\n")
                     : QStringLiteral("It stays in the menu; it can be mended in its folder:\n%1\n"))
                .arg(QString::fromStdString(unstartable.skin.folder.string()));
    return text;
}

}  // namespace

QString LaunchFailureText(InterfaceLanguage language, const LaunchFailure& failure) {
    const bool russian = IsRussian(language);
    const StartTexts& words = StartTextsIn(language);
    QString text = Shared(words.not_loaded) + u'\n';
    const QString skin = failure.skin.empty()
                             ? (russian ? QStringLiteral("(файл скина не найден)") : QStringLiteral("(no skin file found)"))
                             : QString::fromStdString(failure.skin.string());
    std::vector<QString> lines;
    for (const SkinEntryFailure& entry : failure.entries) {
        const QString reason = PathsFrom(failure.start_folder, ReasonText(language, entry.reason));
        lines.push_back(entry.section.empty() ? skin + QStringLiteral(": ") + reason
                                              : QStringLiteral("%1: [%2] %3: %4")
                                                    .arg(skin, QString::fromStdString(entry.section),
                                                         QString::fromStdString(entry.key), reason));
    }
    text += Bullets(language, lines);
    text += u'\n' + Shared(words.choose_another);
    return text;
}

QString InstallFailureText(InterfaceLanguage language, const std::vector<FailedInstall>& failed) {
    QStringList blocks;
    for (const FailedInstall& one : failed) blocks << OneSource(language, one);
    return blocks.join(u'\n').trimmed();
}

QString AlreadyInstalledText(InterfaceLanguage language, const QStringList& titles) {
    const QString list = QuotedTitles(language, titles);
    if (IsRussian(language))
        return (titles.size() == 1 ? QStringLiteral("Скин %1 уже установлен, с теми же файлами; он выбран в меню.")
                                   : QStringLiteral("Скины %1 уже установлены, с теми же файлами; первый выбран в меню."))
            .arg(list);
    return (titles.size() == 1 ? QStringLiteral("The skin %1 is already installed, with the same files; it is selected in the menu.")
                               : QStringLiteral("The skins %1 are already installed, with the same files; the first is selected in the menu."))
        .arg(list);
}

QString SameTitleQuestion(InterfaceLanguage language, const QStringList& titles) {
    const QString list = QuotedTitles(language, titles);
    return IsRussian(language)
               ? QStringLiteral("Скин с названием %1 уже установлен, но файлы у него другие. Заменить установленный "
                                "или оставить оба (у нового к названию добавится « (2)»)?")
                     .arg(list)
               : QStringLiteral("A skin titled %1 is installed already, with other files. Replace it, or keep both "
                                "(the new one gets “ (2)” added to its title)?")
                     .arg(list);
}

QString UnstartableSkinsText(InterfaceLanguage language, const std::vector<UnstartableSkin>& skins) {
    QStringList blocks;
    for (const UnstartableSkin& one : skins) blocks << OneUnstartable(language, one);
    return blocks.join(u'\n').trimmed();
}

QString UnstartableSkinsTitle(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Скин не запустится") : QStringLiteral("The skin would not start");
}

QString LaunchFailureTitle(InterfaceLanguage language) {
    return Shared(StartTextsIn(language).launch_failed_title);
}

QString InstallFailureTitle(InterfaceLanguage language) {
    return Shared(StartTextsIn(language).install_failed_title);
}

}  // namespace pellox
