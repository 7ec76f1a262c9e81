#include "skinpreview/preview_texts.h"

#include <QLocale>

#include "skin/skin_entries.h"

namespace pellox {
namespace {

QString EntryName(const SkinEntry& entry) {
    return QStringLiteral("[%1] %2").arg(QString::fromLatin1(entry.section.data(), static_cast<qsizetype>(entry.section.size())),
                                         QString::fromStdString(entry.key));
}

QString Size(QSize size) { return QStringLiteral("%1×%2").arg(size.width()).arg(size.height()); }

}  // namespace

QString BrokenSaveHeading(InterfaceLanguage language) {
    return IsRussian(language) ? QStringLiteral("Не загрузилось (на экране остаётся последнее удачное):")
                               : QStringLiteral("Not loaded (the last good version stays on screen):");
}

QString MoreFailures(InterfaceLanguage language, qsizetype more) {
    return IsRussian(language) ? QStringLiteral("…и ещё %1.").arg(more) : QStringLiteral("…and %1 more.").arg(more);
}

QString HelpLine(InterfaceLanguage language) {
    return IsRussian(language)
               ? QStringLiteral("F1 подсказка · F2 рамки · F3 всё горит · F5 / Shift+F5 следующая / предыдущая "
                                "картинка · F6 следующий звук · Esc убрать")
               : QStringLiteral("F1 this line · F2 boxes · F3 all lit · F5 / Shift+F5 next / previous picture · "
                                "F6 next sound · Esc clear");
}

QString SpriteLine(InterfaceLanguage language, SpriteId sprite, const Bounds& box, QSize picture) {
    const bool russian = IsRussian(language);
    const QSize box_size(box.width, box.height);
    QString line = QStringLiteral("%1 (%2): ").arg(EntryName(SkinEntryOf(sprite)), QString::fromLatin1(NameOf(sprite).data(), static_cast<qsizetype>(NameOf(sprite).size())));
    line += (russian ? QStringLiteral("рамка %1,%2 %3, картинка %4") : QStringLiteral("box %1,%2 %3, picture %4"))
                .arg(box.left)
                .arg(box.top)
                .arg(Size(box_size), Size(picture));
    if (picture.width() > box.width || picture.height() > box.height)
        line += russian ? QStringLiteral(" — больше рамки, обрезана") : QStringLiteral(" — larger than its box, cut");
    else if (picture != box_size)
        line += russian ? QStringLiteral(" — меньше рамки") : QStringLiteral(" — smaller than its box");
    return line;
}

QString SoundLine(InterfaceLanguage language, Effect effect, std::optional<double> seconds) {
    const bool russian = IsRussian(language);
    QString line = EntryName(SkinEntryOf(effect)) + QStringLiteral(": ");
    if (!seconds) return line + (russian ? QStringLiteral("длина неизвестна") : QStringLiteral("length unknown"));
    const QLocale locale(russian ? QLocale::Russian : QLocale::English);
    return line + locale.toString(*seconds, 'f', 3) + (russian ? QStringLiteral(" с") : QStringLiteral(" s"));
}

}  // namespace pellox
