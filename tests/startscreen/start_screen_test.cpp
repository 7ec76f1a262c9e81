// The start screen on the offscreen platform: start-up in its three menu
// states, the language switch, and the start button launching the right game.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTimer>

#include "startscreen/thb_form.h"
#include "temp_folder.h"
#include "tests/controls/game_window_rig.h"

namespace pellox {
namespace {

using testing::BuiltinPictures;
using testing::RecordingSound;

const QString kChoosingSU = QStringLiteral(" Выберите скин-игру ");
const QString kChoosingGB = QStringLiteral(" Choose the skingame ");
const QString kLockedSU = QStringLiteral(" Выбрана и запущена ");
const QString kLockedGB = QStringLiteral(" Chosen and running ");
const QString kNoneSU = QStringLiteral(" Скинов не обнаружено. Запущена ");
const QString kNoneGB = QStringLiteral(" No skingames found. Running ");

class StartScreenTest : public ::testing::Test {
protected:
    TempFolder skins;    // the search root
    TempFolder records;  // the stored scores
    std::vector<int> played;
    std::optional<std::string> no_failure;
    std::unique_ptr<THBForm> form;

    // A skin that launches: every entry names one small picture or wave.
    std::filesystem::path WriteSkin(const std::string& relative, const std::string& title,
                                    const std::string& title_gb = "") {
        std::string text = "[SETTINGS]\nver=1.6\ntitle=" + title + "\n";
        if (!title_gb.empty()) text += "titleGB=" + title_gb + "\n";
        return skins.Write(relative, text);
    }

    void Open(QStringList arguments = {}) {
        StartScreenSetup setup;
        setup.arguments = std::move(arguments);
        setup.search_roots = {skins.path()};
        setup.make_game_window = [this] {
            return std::make_unique<GameWindow>(
                BuiltinPictures(), std::make_unique<RecordingSound>(&played, &no_failure),
                std::make_unique<SettingsRecordsStore>(QString::fromStdString((records.path() / "r.conf").string())));
        };
        form = std::make_unique<THBForm>(std::move(setup));
        form->show();
        // The game window is made once the start screen has been painted.
        QElapsedTimer waited;
        waited.start();
        while (!form->GameWindowIfCreated() && waited.elapsed() < 5000) QCoreApplication::processEvents();
        ASSERT_NE(form->GameWindowIfCreated(), nullptr);
    }

    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < form->CbSkin().count(); ++i) entries << form->CbSkin().itemText(i);
        return entries;
    }

    // Presses the start button; closes the game window as soon as it shows.
    int Start() {
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [this] {
            GameWindow* game = form->GameWindowIfCreated();
            if (game && game->Form().isVisible()) game->Form().close();
        });
        closer.start(10);
        form->BtStart().click();
        return form->ExitStatus();
    }
};

TEST_F(StartScreenTest, WithNoSkinTheMenuIsLockedOnTheBuiltInGame) {
    Open();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), QSize(603, 391));
    // Fixed: the window system offers no resizing and, where it heeds the
    // size hints, no maximise button.
    EXPECT_EQ(form->minimumSize(), form->size());
    EXPECT_EQ(form->maximumSize(), form->size());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellox - вер. 1.8"));
    ASSERT_NE(form->GameWindowIfCreated(), nullptr);
    EXPECT_FALSE(form->GameWindowIfCreated()->Form().isVisible());
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("Встроенная игра по-умолчанию \"Kestrow!\"")});
    EXPECT_EQ(form->CbSkin().currentIndex(), -1);
    EXPECT_FALSE(form->CbSkin().isEnabled());
    EXPECT_EQ(form->GbSkin().title(), kNoneSU);
    EXPECT_TRUE(form->MmSUInstruction().isVisible());
    EXPECT_FALSE(form->MmGBInstruction().isVisible());

    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(form->GameWindowIfCreated()->Texts().TitleSU, kBuiltinTitle);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(StartScreenTest, FoundSkinsFillTheMenuWithTheLastOneSelected) {
    WriteSkin("a.ini", "Alpha");
    WriteSkin("sub/b.ini", "Beta", "Beta in English");
    Open();
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("Встроенная игра по-умолчанию \"Kestrow!\""),
                                      QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(form->CbSkin().currentIndex(), 2);
    EXPECT_TRUE(form->CbSkin().isEnabled());
    EXPECT_EQ(form->GbSkin().title(), kChoosingSU);
}

TEST_F(StartScreenTest, AUsableFirstArgumentLocksTheMenuWithoutASearch) {
    WriteSkin("found.ini", "Found by search");
    const std::filesystem::path chosen = WriteSkin("elsewhere/chosen.ini", "Chosen");
    Open({QString::fromStdString(chosen.string()), QStringLiteral("second-argument-is-ignored.ini")});
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("Встроенная игра по-умолчанию \"Kestrow!\""),
                                      QStringLiteral("Chosen")}));
    EXPECT_EQ(form->CbSkin().currentIndex(), 1);
    EXPECT_FALSE(form->CbSkin().isEnabled());
    EXPECT_EQ(form->GbSkin().title(), kLockedSU);
}

TEST_F(StartScreenTest, AFirstArgumentThatIsNoSkinIsIgnoredAndTheMenuIsSearched) {
    WriteSkin("found.ini", "Found by search");
    const std::filesystem::path no_ver = skins.Write("elsewhere/no-ver.ini", "[SETTINGS]\ntitle=No version\n");
    for (const QString& argument : {QStringLiteral("/no/such/file.ini"), QString::fromStdString(no_ver.string())}) {
        Open({argument});
        EXPECT_EQ(Entries().size(), 2) << argument.toStdString();
        EXPECT_EQ(form->CbSkin().currentText(), QStringLiteral("Found by search"));
        EXPECT_EQ(form->GbSkin().title(), kChoosingSU);
    }
}

TEST_F(StartScreenTest, TheLanguageSwitchTranslatesEveryStateAndKeepsTheSelection) {
    struct Case {
        const char* state;
        std::function<void()> make;
        QString su, gb;
    };
    const std::filesystem::path chosen = skins.path() / "locked" / "chosen.ini";
    const Case cases[] = {
        {"choosing", [&] { WriteSkin("a.ini", "Alpha"); Open(); }, kChoosingSU, kChoosingGB},
        {"locked", [&] { WriteSkin("locked/chosen.ini", "Chosen"); Open({QString::fromStdString(chosen.string())}); },
         kLockedSU, kLockedGB},
        {"none found", [&] { std::filesystem::remove_all(skins.path() / "a.ini"); std::filesystem::remove_all(skins.path() / "locked"); Open(); },
         kNoneSU, kNoneGB},
    };
    for (const Case& c : cases) {
        c.make();
        const int selected = form->CbSkin().currentIndex();
        form->ImBritish().setFocus();
        QTest::keyClick(&form->ImBritish(), Qt::Key_Space);  // the flags work from the keyboard too
        EXPECT_EQ(form->Language(), InterfaceLanguage::English) << c.state;
        EXPECT_EQ(form->GbSkin().title(), c.gb) << c.state;
        EXPECT_EQ(form->CbSkin().currentIndex(), selected) << c.state;
        EXPECT_EQ(form->CbSkin().itemText(0), QStringLiteral("Built-in default game \"Kestrow\"")) << c.state;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellox - ver 1.8"));
        EXPECT_TRUE(form->MmGBInstruction().isVisible());
        EXPECT_FALSE(form->MmSUInstruction().isVisible());
        EXPECT_EQ(form->BtStart().text(),
                  QStringLiteral("Yes, I’ve seen this thousands of times! Read it all through!! Let me play!!!"));
        EXPECT_EQ(form->GameWindowIfCreated()->Texts().Language, InterfaceLanguage::English);

        QTest::mouseClick(&form->ImSoviet(), Qt::LeftButton);
        EXPECT_EQ(form->Language(), InterfaceLanguage::Russian) << c.state;
        EXPECT_EQ(form->GbSkin().title(), c.su) << c.state;
        EXPECT_EQ(form->CbSkin().currentIndex(), selected) << c.state;
        EXPECT_EQ(form->BtStart().text(), QStringLiteral("Да, я это уже сто раз видел! Всё прочитал!! Дайте поиграть!!!"));
    }
}

TEST_F(StartScreenTest, ASkinWithoutAnEnglishTitleShowsItsTitleInEnglish) {
    WriteSkin("a.ini", "Только по-русски");
    WriteSkin("b.ini", "Zwei", "Two");
    Open();
    form->imLanguageClick(0);
    EXPECT_EQ(Entries().mid(1), (QStringList{QStringLiteral("Только по-русски"), QStringLiteral("Two")}));
}

TEST_F(StartScreenTest, TheStartButtonLaunchesTheChosenGame) {
    // A skin whose every entry fails: chosen, it ends the program with status 1;
    // entry 0 and no selection start the built-in game.
    WriteSkin("broken.ini", "Broken");
    struct Case {
        const char* what;
        int index;
        int status;
    };
    for (const Case& c : {Case{"entry 0", 0, 0}, Case{"no selection", -1, 0}, Case{"the skin", 1, 1}}) {
        Open();
        form->CbSkin().setCurrentIndex(c.index);
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Start(), c.status) << c.what;
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("broken.ini") != std::string::npos, c.status == 1) << c.what << ": " << said;
        EXPECT_FALSE(form->isVisible()) << c.what;
    }
}

TEST_F(StartScreenTest, EnterStartsAndClosingTheStartScreenClosesTheLastWindow) {
    // Qt ends the program when its last visible window closes: the hidden
    // game window must not count.
    Open();
    form->close();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();

    Open();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        GameWindow* game = form->GameWindowIfCreated();
        if (game && game->Form().isVisible()) game->Form().close();
    });
    closer.start(10);
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->GameWindowIfCreated()->Engine().CurrentState() == GameMode::Demo);
}

// A flag with the focus once took Enter as another click on itself.
TEST_F(StartScreenTest, EnterOnAFlagStartsTheGameAndLeavesTheLanguage) {
    Open();
    const InterfaceLanguage before = form->Language();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
        GameWindow* game = form->GameWindowIfCreated();
        if (game && game->Form().isVisible()) game->Form().close();
    });
    closer.start(10);
    form->ImBritish().setFocus();
    QTest::keyClick(&form->ImBritish(), Qt::Key_Return);
    EXPECT_EQ(form->Language(), before);
    EXPECT_FALSE(form->isVisible());
}

// A failure while the game window is made (its sound, its pictures) once
// unwound through Qt's event dispatch from the queued creation.
TEST_F(StartScreenTest, AGameWindowThatCannotBeMadeClosesTheStartScreenWithoutThrowing) {
    StartScreenSetup setup;
    setup.search_roots = {skins.path()};
    setup.make_game_window = []() -> std::unique_ptr<GameWindow> {
        throw std::runtime_error("The sound output has no mixer to play on");
    };
    form = std::make_unique<THBForm>(std::move(setup));
    form->show();
    QElapsedTimer waited;
    waited.start();
    while (form->isVisible() && waited.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->GameWindowIfCreated(), nullptr);
}

TEST_F(StartScreenTest, NoTextIsCutOffInEitherLanguage) {
    Open();
    for (int tag : {-1, 0}) {
        form->imLanguageClick(tag);
        auto fits = [](QLabel& label) {
            const QRect needed = QFontMetrics(label.font()).boundingRect(
                label.contentsRect(), static_cast<int>(label.alignment()) | Qt::TextWordWrap, label.text());
            return label.contentsRect().contains(needed);
        };
        EXPECT_TRUE(fits(form->StSmallInfo())) << tag << ": " << form->StSmallInfo().text().toStdString();
        EXPECT_TRUE(fits(form->LbYear())) << tag;
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(fits(form->StCredits(i))) << tag << " credits " << i;
        QPushButton& start = form->BtStart();
        EXPECT_LE(QFontMetrics(start.font()).horizontalAdvance(start.text()), start.width() - 8) << tag;
        EXPECT_LE(QFontMetrics(form->GbSkin().font()).horizontalAdvance(form->GbSkin().title()),
                  form->GbSkin().width() - 16) << tag;
    }
}

}  // namespace
}  // namespace pellox
