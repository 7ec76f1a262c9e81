#include "assets/startscreen/texts/startscreen_texts.h"

#include <QFile>
#include <QtCore/qresource.h>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPelloxStartScreenTextsResource() { Q_INIT_RESOURCE(startscreen_texts); }

namespace pellox {
namespace {

QString ReadText(const QString& name, InterfaceLanguage language) {
    const QString suffix = language == InterfaceLanguage::Russian ? QStringLiteral("ru") : QStringLiteral("en");
    QFile file(QStringLiteral(":/startscreen/texts/%1_%2.txt").arg(name, suffix));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromUtf8(file.readAll());
    while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

}  // namespace

StartScreenTexts LoadStartScreenTexts(InterfaceLanguage language) {
    static const bool registered = (InitPelloxStartScreenTextsResource(), true);
    (void)registered;
    StartScreenTexts texts;
    texts.intro = ReadText(QStringLiteral("intro"), language);
    texts.memo = ReadText(QStringLiteral("memo"), language);
    texts.year = ReadText(QStringLiteral("year"), language);
    for (int i = 0; i < 3; ++i) texts.credits[i] = ReadText(QStringLiteral("credits%1").arg(i + 1), language);
    return texts;
}

}  // namespace pellox
