// The start screen's texts as the program embeds them: every text there and
// plain, the introduction's closing sentence, the memo's headings, each memo
// in its own language, and every short text inside its box on the screen.
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRect>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "assets/startscreen/texts/startscreen_texts.h"

namespace pellox {
namespace {

struct LanguageCase {
    InterfaceLanguage language;
    const char* name;
    const char* intro_ending;
    std::vector<const char*> headings;
    bool cyrillic;  // the script the memo's letters are mostly in
};

const std::vector<LanguageCase>& Languages() {
    static const std::vector<LanguageCase> cases{
        {InterfaceLanguage::Russian,
         "Russian",
         "Пожалуйста, ознакомьтесь с лицензией и правилами игры (см. ниже), прежде чем выберете скин и "
         "запустите игру.",
         {"ЛИЦЕНЗИЯ КОНЕЧНОГО ПОЛЬЗОВАТЕЛЯ", "ОТ АВТОРОВ", "ИНСТРУКЦИЯ", "НАСТРОЙКА", "СИСТЕМНЫЕ ТРЕБОВАНИЯ", "СБОИ",
          "ТЕХПОДДЕРЖКА"},
         true},
        {InterfaceLanguage::English,
         "English",
         "Please read the licence and the rules below before you choose a skin and start the game.",
         {"END-USER LICENCE", "FROM THE AUTHORS", "INSTRUCTIONS", "CUSTOMIZING", "SYSTEM REQUIREMENTS",
          "TROUBLESHOOTING", "SUPPORT"},
         false},
    };
    return cases;
}

std::string Utf8(const QString& s) { return s.toStdString(); }

struct NamedText {
    const char* name;
    QString text;
};

std::vector<NamedText> AllTexts(const StartScreenTexts& t) {
    return {{"intro", t.intro},           {"memo", t.memo},         {"year", t.year},
            {"credits1", t.credits[0]}, {"credits2", t.credits[1]}, {"credits3", t.credits[2]}};
}

TEST(StartScreenTexts, EveryTextLoadsAsPlainUtf8WithoutAFinalLineEnd) {
    for (const LanguageCase& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        for (const NamedText& t : AllTexts(LoadStartScreenTexts(lang.language))) {
            SCOPED_TRACE(t.name);
            EXPECT_FALSE(t.text.trimmed().isEmpty());
            EXPECT_FALSE(t.text.contains(QChar::ReplacementCharacter)) << "not valid UTF-8";
            EXPECT_FALSE(t.text.contains(QLatin1Char('\r'))) << "line ends must be LF";
            EXPECT_FALSE(t.text.endsWith(QLatin1Char('\n')));
        }
    }
}

TEST(StartScreenTexts, IntroEndsWithTheSentenceAboutTheLicenseAndRules) {
    for (const LanguageCase& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        const QString intro = LoadStartScreenTexts(lang.language).intro;
        const QString ending = QString::fromUtf8(lang.intro_ending);
        EXPECT_TRUE(intro.endsWith(ending)) << Utf8(intro);
        EXPECT_FALSE(intro.chopped(ending.size()).trimmed().isEmpty()) << "the introduction says nothing before it";
    }
}

TEST(StartScreenTexts, MemoHasItsSevenHeadingsInOrderEachOnItsOwnLineAfterABlankLine) {
    for (const LanguageCase& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        const QStringList lines = LoadStartScreenTexts(lang.language).memo.split(QLatin1Char('\n'));
        qsizetype previous = -1;
        for (const char* heading : lang.headings) {
            SCOPED_TRACE(heading);
            const qsizetype at = lines.indexOf(QString::fromUtf8(heading), previous + 1);
            ASSERT_NE(at, -1) << "missing, or out of order";
            if (at > 0) {
                EXPECT_TRUE(lines[at - 1].isEmpty());
            }
            ASSERT_LT(at + 1, lines.size()) << "a heading with nothing under it";
            previous = at;
        }
    }
}

TEST(StartScreenTexts, EachMemoIsMostlyInItsOwnScript) {
    for (const LanguageCase& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        int cyrillic = 0, latin = 0;
        for (QChar c : LoadStartScreenTexts(lang.language).memo) {
            if (!c.isLetter()) continue;
            if (c.script() == QChar::Script_Cyrillic) ++cyrillic;
            if (c.script() == QChar::Script_Latin) ++latin;
        }
        const int own = lang.cyrillic ? cyrillic : latin;
        const int other = lang.cyrillic ? latin : cyrillic;
        EXPECT_GE(own, 4 * other) << "Cyrillic letters " << cyrillic << ", Latin letters " << latin;
    }
}

// The boxes of the start screen that hold the short texts, and their fonts.
struct Box {
    const char* name;
    std::function<QString(const StartScreenTexts&)> text;
    int width, height, pixel_size;
    bool bold;
};

TEST(StartScreenTexts, ShortTextsFitTheirBoxesInDejaVuSans) {
    const std::vector<Box> boxes{
        {"intro", [](const StartScreenTexts& t) { return t.intro; }, 321, 121, 16, true},
        {"year", [](const StartScreenTexts& t) { return t.year; }, 83, 13, 11, false},
        {"credits1 (code)", [](const StartScreenTexts& t) { return t.credits[0]; }, 57, 33, 11, false},
        {"credits2 (graphics)", [](const StartScreenTexts& t) { return t.credits[1]; }, 57, 49, 11, false},
        {"credits3 (sounds)", [](const StartScreenTexts& t) { return t.credits[2]; }, 81, 33, 11, false},
    };
    for (const LanguageCase& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        const StartScreenTexts texts = LoadStartScreenTexts(lang.language);
        for (const Box& box : boxes) {
            SCOPED_TRACE(box.name);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(box.pixel_size);
            font.setBold(box.bold);
            ASSERT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans")) << "fonts-dejavu-core is not installed";
            const QRect frame(0, 0, box.width, box.height);
            const QRect used = QFontMetrics(font).boundingRect(frame, Qt::AlignCenter | Qt::TextWordWrap, box.text(texts));
            EXPECT_TRUE(frame.contains(used)) << "needs " << used.width() << " x " << used.height() << " px at ("
                                              << used.x() << ", " << used.y() << ") in a box of " << box.width
                                              << " x " << box.height;
        }
    }
}

}  // namespace
}  // namespace pellox
