// The player's choice of language in its file beside the scores file.
#include "records/language_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pellox {
namespace {

constexpr InterfaceLanguage kRu = InterfaceLanguage::Russian;
constexpr InterfaceLanguage kEn = InterfaceLanguage::English;

class LanguageSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString Path(const QString& name = QStringLiteral("Pellox.conf")) const { return dir.filePath(name); }
    void WriteFile(const QByteArray& text) const {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray ReadFile() const {
        QFile f(Path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(LanguageSettingsTest, WhatTheFileHoldsIsReadOrIsNoChoice) {
    struct Case {
        const char* what;
        QByteArray text;
        std::optional<InterfaceLanguage> expected;
    };
    const Case cases[] = {
        {"Russian", "[General]\nLanguage=1\n", kRu},
        {"English", "[General]\nLanguage=0\n", kEn},
        {"written by hand, no section", "Language = 0\r\n", kEn},
        {"the last line counts", "[General]\nLanguage=1\nLanguage=0\n", kEn},
        {"another number", "[General]\nLanguage=2\n", std::nullopt},
        {"a word", "[General]\nLanguage=en\n", std::nullopt},
        {"no value", "[General]\nOther=1\n", std::nullopt},
        {"empty", "", std::nullopt},
        {"binary rubbish around the line", QByteArray("\x00\xff\x13[\n", 5) + "Language=0\n\x01\x02", kEn},
        {"far too large to be ours", "[General]\nLanguage=0\n" + QByteArray(100 * 1024, ';'), std::nullopt},
    };
    for (const Case& c : cases) {
        WriteFile(c.text);
        EXPECT_EQ(LanguageSettings(Path()).Read(), c.expected) << c.what;
    }
}

TEST_F(LanguageSettingsTest, AWriteIsReadBackAndKeepsEveryOtherLine) {
    const LanguageSettings settings(dir.filePath(QStringLiteral("new/folder/Pellox.conf")));
    EXPECT_FALSE(settings.Read().has_value());
    for (InterfaceLanguage language : {kEn, kRu, kEn}) {
        ASSERT_TRUE(settings.Write(language));
        EXPECT_EQ(settings.Read(), language);
    }

    WriteFile("; mine\n[General]\nLanguage=1\nVolume=3\n[Other]\nLanguage=1\n");
    ASSERT_TRUE(LanguageSettings(Path()).Write(kEn));
    EXPECT_EQ(ReadFile(), "; mine\n[General]\nLanguage=0\nVolume=3\n[Other]\nLanguage=1\n");
}

TEST_F(LanguageSettingsTest, AFileThatCannotBeWrittenIsLeftAsItIs) {
    // A folder in the file's place.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Pellox.conf")));
    EXPECT_FALSE(LanguageSettings(Path()).Read().has_value());
    const Result<void> over_folder = LanguageSettings(Path()).Write(kEn);
    EXPECT_EQ(over_folder.reason(), Path().toStdString() + " is not a small file that can be read whole: it is left as it is");
    EXPECT_TRUE(QDir(Path()).isEmpty());
    ASSERT_TRUE(QDir(Path()).removeRecursively());

    // A file larger than ours would ever be: written over, it would be lost.
    const QByteArray large = "[General]\nLanguage=1\n" + QByteArray(100 * 1024, ';');
    WriteFile(large);
    const Result<void> over_large = LanguageSettings(Path()).Write(kEn);
    EXPECT_NE(over_large.reason().find("not a small file"), std::string::npos) << over_large.reason();
    EXPECT_EQ(ReadFile(), large);

    // A folder that cannot be made: a file stands where it should be (root
    // may write anywhere else).
    QFile blocker(Path(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Result<void> blocked = LanguageSettings(Path(QStringLiteral("blocker/Pellox.conf"))).Write(kEn);
    EXPECT_EQ(blocked.reason(), "the folder " + Path(QStringLiteral("blocker")).toStdString() + " cannot be made");
    EXPECT_EQ(QFileInfo(blocker.fileName()).size(), 0);
}

TEST(LanguageFileBesideTest, SitsInTheScoresFolderUnderANameOfItsOwn) {
    EXPECT_EQ(LanguageFileBeside(QStringLiteral("/home/p/.config/Ardwyn/Kestrow.conf")),
              QStringLiteral("/home/p/.config/Ardwyn/Pellox.conf"));
    EXPECT_EQ(LanguageFileBeside(QStringLiteral("/tmp/scores/Pellox.conf")),
              QStringLiteral("/tmp/scores/Pellox-language.conf"));
}

}  // namespace
}  // namespace pellox
