// The start screen on the offscreen platform: start-up in its three menu
// states, the language switch, and the start button launching the right game.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QAbstractItemView>

#include "startscreen/failure_texts.h"
#include "startscreen/install_texts.h"
#include "startscreen/menu/start_texts.h"
#include "startscreen/reason_texts.h"
#include "tests/startscreen/start_screen_rig.h"
#include "tests/support/after_first_paint.h"

namespace pellox {
namespace {

TEST_F(StartScreenTest, WithNoSkinTheMenuIsLockedOnTheBuiltInGame) {
    Open();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->size(), QSize(603, 391));
    // Fixed: the window system offers no resizing and, where it heeds the
    // size hints, no maximise button.
    EXPECT_EQ(form->minimumSize(), form->size());
    EXPECT_EQ(form->maximumSize(), form->size());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellox — версия 1.8"));
    // The start button makes the game window: its pictures and frames are
    // not held while the player reads.
    EXPECT_EQ(form->GameWindowIfCreated(), nullptr);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("Встроенная игра по умолчанию «Kestrow»")});
    EXPECT_FALSE(form->CbSkin().isEnabled());
    EXPECT_TRUE(form->MmSUInstruction().isVisible());
    EXPECT_FALSE(form->MmGBInstruction().isVisible());
    // The caption stops at "Running": the locked menu names the built-in game
    // after it (it once showed no entry at all), in either language.
    const struct {
        int flag;
        QString caption, entry;
    } languages[] = {
        {-1, kNoneSU, QStringLiteral("Встроенная игра по умолчанию «Kestrow»")},
        {0, kNoneGB, QStringLiteral("Built-in game “Kestrow”")},
        {-1, kNoneSU, QStringLiteral("Встроенная игра по умолчанию «Kestrow»")},
    };
    for (const auto& language : languages) {
        form->imLanguageClick(language.flag);
        EXPECT_EQ(form->GbSkin().title(), language.caption);
        EXPECT_EQ(form->CbSkin().currentIndex(), 0) << language.flag;
        EXPECT_EQ(form->CbSkin().currentText(), language.entry);
        EXPECT_FALSE(form->CbSkin().isEnabled());
    }

    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(form->GameWindowIfCreated()->Texts().TitleSU, kBuiltinTitleSU);
    EXPECT_FALSE(form->isVisible());
}

// The press would wait for the game window's pictures: the pointer on its way
// to the start button makes it, hidden, and the press finds it made.
TEST_F(StartScreenTest, ThePointerOverTheStartButtonMakesTheGameWindowBeforeThePress) {
    Open();
    ASSERT_EQ(form->GameWindowIfCreated(), nullptr);
    QTest::mouseMove(&form->ImBritish());
    QCoreApplication::processEvents();
    EXPECT_EQ(form->GameWindowIfCreated(), nullptr);  // only the start button's
    QTest::mouseMove(&form->BtStart());
    QElapsedTimer waited;
    waited.start();
    while (!form->GameWindowIfCreated() && waited.elapsed() < 5000) QCoreApplication::processEvents();
    ASSERT_NE(form->GameWindowIfCreated(), nullptr);
    GameWindow* made = form->GameWindowIfCreated();
    EXPECT_FALSE(made->Form().isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(form->GameWindowIfCreated(), made);  // the press used it
}

TEST_F(StartScreenTest, FoundSkinsFillTheMenuWithTheLastOneSelected) {
    WriteSkin("a.ini", "Alpha");
    WriteSkin("sub/b.ini", "Beta", "Beta in English");
    Open();
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("Встроенная игра по умолчанию «Kestrow»"),
                                      QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(form->CbSkin().currentIndex(), 2);
    EXPECT_TRUE(form->CbSkin().isEnabled());
    EXPECT_EQ(form->GbSkin().title(), kChoosingSU);
}

// The search once walked the whole tree under the start folder before the
// first paint: from the home folder or "/" the window stayed blank for seconds.
TEST_F(StartScreenTest, TheStartScreenPaintsAndStartsBeforeTheSearchHasListedAnything) {
    for (int i = 0; i < 20; ++i) WriteSkin("set" + std::to_string(i % 4) + "/s" + std::to_string(i) + ".ini", "Skin");
    QStringList at_first_paint;
    int status = -1;
    AfterFirstPaint start([&] {
        at_first_paint = Entries();
        status = Start();
    });
    Show({}, &start);
    QElapsedTimer waited;
    waited.start();
    while (status == -1 && waited.elapsed() < 5000) QCoreApplication::processEvents();

    EXPECT_EQ(at_first_paint.join(QStringLiteral(" | ")).toStdString(), "Встроенная игра по умолчанию «Kestrow»");
    EXPECT_EQ(status, 0);
    ASSERT_NE(form->GameWindowIfCreated(), nullptr);
    EXPECT_EQ(form->GameWindowIfCreated()->Texts().TitleSU, kBuiltinTitleSU);
    form.reset();  // the search, perhaps still walking, stops with the start screen
}

TEST_F(StartScreenTest, TheFirstPaintLoadsNoImagePlugin) {
    const auto plugin_loaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
    };
    if (plugin_loaded()) GTEST_SKIP() << "an earlier test in this process loaded an image plugin";
    bool painted = false;
    bool loaded_by_then = true;
    AfterFirstPaint check([&] {
        painted = true;
        loaded_by_then = plugin_loaded();
    });
    Show({}, &check);
    QElapsedTimer waited;
    waited.start();
    while (!painted && waited.elapsed() < 5000) QCoreApplication::processEvents();
    ASSERT_TRUE(painted);
    // Neither the pictures, nor the memo, nor the style's frame of the menu.
    EXPECT_FALSE(loaded_by_then);
}

TEST_F(StartScreenTest, AnEntryThePlayerPicksWhileTheSearchRunsStaysSelected) {
    WriteSkin("a.ini", "Alpha");
    WriteSkin("b.ini", "Beta");
    bool picked = false;
    AfterFirstPaint pick([&] {
        // The player opens the menu and takes the built-in game before any skin is listed.
        QComboBox& menu = form->CbSkin();
        menu.showPopup();
        QTest::keyClick(menu.view(), Qt::Key_Home);
        QTest::keyClick(menu.view(), Qt::Key_Return);
        picked = true;
    });
    Show({}, &pick);
    QElapsedTimer waited;
    waited.start();
    while ((!picked || form->SkinSearchRunning()) && waited.elapsed() < 5000) QCoreApplication::processEvents();
    ASSERT_TRUE(picked);
    EXPECT_EQ(Entries().size(), 3);
    EXPECT_EQ(form->CbSkin().currentIndex(), 0);
    EXPECT_EQ(form->GbSkin().title(), kChoosingSU);
}

TEST_F(StartScreenTest, AUsableFirstArgumentLocksTheMenuWithoutASearch) {
    WriteSkin("found.ini", "Found by search");
    const std::filesystem::path chosen = WriteSkin("elsewhere/chosen.ini", "Chosen");
    Open({QString::fromStdString(chosen.string()), QStringLiteral("second-argument-is-ignored.ini")});
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("Встроенная игра по умолчанию «Kestrow»"),
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
        EXPECT_EQ(form->CbSkin().itemText(0), QStringLiteral("Built-in game “Kestrow”")) << c.state;
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellox – version 1.8"));
        EXPECT_TRUE(form->MmGBInstruction().isVisible());
        EXPECT_FALSE(form->MmSUInstruction().isVisible());
        EXPECT_EQ(form->BtStart().text(),
                  QStringLiteral("Yes, I’ve seen this thousands of times! Read it all through!! Let me play!!!"));
        // Made after the click, the game window takes the language; made
        // before, it follows the next click.
        EXPECT_EQ(Game().Texts().Language, InterfaceLanguage::English);

        QTest::mouseClick(&form->ImSoviet(), Qt::LeftButton);
        EXPECT_EQ(form->Language(), InterfaceLanguage::Russian) << c.state;
        EXPECT_EQ(Game().Texts().Language, InterfaceLanguage::Russian);
        EXPECT_EQ(form->GbSkin().title(), c.su) << c.state;
        EXPECT_EQ(form->CbSkin().currentIndex(), selected) << c.state;
        EXPECT_EQ(form->BtStart().text(), QStringLiteral("Да, я это уже сто раз видел! Всё прочитал!! Дайте поиграть!!!"));
    }
}

TEST_F(StartScreenTest, TheFirstStartFollowsTheSystemsLanguage) {
    struct Case {
        const char* locale;
        InterfaceLanguage expected;
    };
    for (const Case& c : {Case{"en_GB", InterfaceLanguage::English}, Case{"uk_UA", InterfaceLanguage::Russian},
                          Case{"de_DE", InterfaceLanguage::English}}) {
        locale = QString::fromLatin1(c.locale);
        Open();
        const bool english = c.expected == InterfaceLanguage::English;
        EXPECT_EQ(form->Language(), c.expected) << c.locale;
        EXPECT_EQ(form->windowTitle(), english ? QStringLiteral("Pellox – version 1.8") : QStringLiteral("Pellox — версия 1.8"))
            << c.locale;
        EXPECT_EQ(form->MmGBInstruction().isVisible(), english) << c.locale;
        EXPECT_EQ(form->MmSUInstruction().isVisible(), !english) << c.locale;
        EXPECT_EQ(form->GbSkin().title(), english ? kNoneGB : kNoneSU) << c.locale;
        EXPECT_EQ(form->CbSkin().itemText(0), english ? QStringLiteral("Built-in game “Kestrow”")
                                                      : QStringLiteral("Встроенная игра по умолчанию «Kestrow»"))
            << c.locale;
        EXPECT_EQ(Game().Texts().Language, c.expected) << c.locale;
        // Nothing is kept until the player chooses.
        EXPECT_FALSE(QFile::exists(LanguageFile().FileName())) << c.locale;
    }
}

TEST_F(StartScreenTest, TheFlagClickedLastIsTheLanguageOfTheNextStart) {
    locale = QStringLiteral("en_GB");
    Open();
    QTest::mouseClick(&form->ImSoviet(), Qt::LeftButton);
    Open();
    EXPECT_EQ(form->Language(), InterfaceLanguage::Russian);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Pellox — версия 1.8"));
    EXPECT_TRUE(form->MmSUInstruction().isVisible());

    locale = QStringLiteral("ru_RU");
    form->ImBritish().setFocus();
    QTest::keyClick(&form->ImBritish(), Qt::Key_Space);
    Open();
    EXPECT_EQ(form->Language(), InterfaceLanguage::English);
    EXPECT_EQ(Game().Texts().Language, InterfaceLanguage::English);
    // The choice has a file of its own: the scores file is not made for it.
    EXPECT_FALSE(QFile::exists(RecordsFile()));
}

TEST_F(StartScreenTest, ALanguageFileThatCannotBeUsedLeavesTheSystemsLanguageQuietly) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> spoil;
        InterfaceLanguage next_start;  // after a click on the Soviet flag
    };
    const Case cases[] = {
        {"damaged", [](const std::filesystem::path& file) { std::ofstream(file) << "\x01\x02[General\nLanguage=7\n"; },
         InterfaceLanguage::Russian},
        {"a folder in its place", [](const std::filesystem::path& file) { std::filesystem::create_directories(file / "x"); },
         InterfaceLanguage::English},
    };
    locale = QStringLiteral("en_GB");
    for (const Case& c : cases) {
        const std::filesystem::path file = LanguageFile().FileName().toStdString();
        std::filesystem::remove_all(file);
        c.spoil(file);
        ::testing::internal::CaptureStderr();
        Open();
        EXPECT_EQ(form->Language(), InterfaceLanguage::English) << c.what;
        QTest::mouseClick(&form->ImSoviet(), Qt::LeftButton);
        EXPECT_EQ(form->Language(), InterfaceLanguage::Russian) << c.what;
        Open();
        EXPECT_EQ(form->Language(), c.next_start) << c.what;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.what;
        EXPECT_EQ(Start(), 0) << c.what;  // and the game plays
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
    // A skin whose every entry fails: chosen, its launch ends with status 1
    // and the start screen comes back; entry 0 and no selection start the
    // built-in game.
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
        EXPECT_EQ(form->isVisible(), c.status == 1) << c.what;
    }
}

// A failed skin once made the window vanish, its reasons only on a terminal.
TEST_F(StartScreenTest, AFailedSkinIsExplainedAndTheStartScreenComesBackToLaunchAnother) {
    WriteSkin("broken.ini", "Broken");
    Open();
    form->CbSkin().setCurrentIndex(1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Start(), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("pellox: "), std::string::npos);  // the terminal lines stay
    ASSERT_EQ(failure_boxes.size(), 1);
    EXPECT_TRUE(failure_boxes.front().contains(QStringLiteral("broken.ini"))) << failure_boxes.front().toStdString();
    // In the start screen's language, reasons too.
    EXPECT_TRUE(failure_boxes.front().contains(QStringLiteral("[BACK] ground: записи картинки нет")))
        << failure_boxes.front().toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->CbSkin().count(), 2);  // the menu as it was
    EXPECT_EQ(form->CbSkin().currentIndex(), 1);

    form->CbSkin().setCurrentIndex(0);
    EXPECT_EQ(Start(), 0);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->GameWindowIfCreated()->Engine().CurrentState(), GameMode::Demo);
}

// A launch that threw once unwound through the start button's clicked signal
// into Qt's dispatch: it is told as a failed launch, and the start screen
// comes back.
TEST_F(StartScreenTest, ALaunchThatThrowsIsToldAndTheStartScreenComesBack) {
    // Memory runs out as the launch reads the scores.
    struct UnreadableScores : RecordsStore {
        std::uint16_t ReadRecord(Variant) override { throw std::bad_alloc(); }
        void WriteRecord(Variant, std::uint16_t) override {}
    };
    adjust_setup = [this](StartScreenSetup& setup) {
        setup.make_game_window = [this] {
            return std::make_unique<GameWindow>(testing::BuiltinPictures(),
                                                std::make_unique<testing::RecordingSound>(&played, &no_failure),
                                                std::make_unique<UnreadableScores>());
        };
    };
    Open();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Start(), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("std::bad_alloc"), std::string::npos) << said;
    ASSERT_EQ(failure_boxes.size(), 1);
    EXPECT_TRUE(failure_boxes.front().contains(QStringLiteral("std::bad_alloc")))
        << failure_boxes.front().toStdString();
    EXPECT_TRUE(form->isVisible());
}

// A broken skin named on the command line once left the menu locked on it:
// Enter failed again and again, whatever the box advised.
TEST_F(StartScreenTest, AFailedCommandLineSkinUnlocksTheMenuOnTheBuiltInGameAndTheSearchedSkins) {
    WriteSkin("found/a.ini", "Найденный", "Found");
    const std::filesystem::path broken = records.Write("broken/broken.ini", "[SETTINGS]\nver=1.6\ntitle=Broken\n");
    Open({QString::fromStdString(broken.string())});
    ASSERT_EQ(form->MenuState(), SkinMenuState::Locked);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Start(), 1);
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(failure_boxes.size(), 1);

    QElapsedTimer waited;
    waited.start();
    while (form->SkinSearchRunning() && waited.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_EQ(form->MenuState(), SkinMenuState::Choosing);
    EXPECT_EQ(form->GbSkin().title(), kChoosingSU);
    EXPECT_TRUE(form->CbSkin().isEnabled());
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("Встроенная игра по умолчанию «Kestrow»"), QStringLiteral("Найденный")}));
    EXPECT_EQ(form->CbSkin().currentIndex(), 0);

    // Enter now plays the built-in game.
    const auto closer = CloseTheGameWhenShown();
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_EQ(form->ExitStatus(), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST(LaunchFailureText, ShowsTheFirstFewFailuresAndCountsTheRest) {
    struct Case {
        InterfaceLanguage language;
        int lines;
        const char* more;  // nullptr: every line is shown
    };
    for (const Case& c : {Case{InterfaceLanguage::English, 3, nullptr}, Case{InterfaceLanguage::English, 8, "…and 3 more."},
                          Case{InterfaceLanguage::Russian, 7, "…и ещё 2."}}) {
        LaunchFailure failure{"skin.ini", {}, "/start"};
        for (int i = 0; i < c.lines; ++i) failure.entries.push_back({"BACK", "entry" + std::to_string(i), "missing"});
        const QString text = LaunchFailureText(c.language, failure);
        EXPECT_TRUE(text.contains(QStringLiteral("entry0"))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("entry5"))) << text.toStdString();  // the sixth is counted only
        if (c.more) EXPECT_TRUE(text.contains(QString::fromUtf8(c.more))) << text.toStdString();
        else EXPECT_FALSE(text.contains(QStringLiteral("…"))) << text.toStdString();
    }
}

// The box once showed "./broken/broken.ini", "/home/me/games/./broken/pictures/"
// and, in Russian, English reasons.
TEST(LaunchFailureText, TellsTheReasonsInTheLanguageWithPathsFromTheStartFolder) {
    const LaunchFailure failure{
        ShownPath("./broken/broken.ini", "/games"),
        {{"BACK", "ground",
          "no such file: no \"back.bmp\" in \"./pictures/\"; beside the skin: no such file: no \"back.bmp\" in "
          "\"/games/./broken/pictures/\""},
         {"BACK", "am", "no such file: no \"pics\" in \"./\""},
         {"WOLF", "wolfL", "not a picture: the bitmap's header is cut short"},
         {"", "", "an English reason of the system's own"}},
        "/games"};
    const QString russian = LaunchFailureText(InterfaceLanguage::Russian, failure);
    for (const char* expected :
         {"• broken/broken.ini: [BACK] ground: нет такого файла: в \"pictures/\" нет \"back.bmp\"; рядом с файлом "
          "скина: нет такого файла: в \"broken/pictures/\" нет \"back.bmp\"\n",
          "[BACK] am: нет такого файла: в \"/games/\" нет \"pics\"\n",
          "[WOLF] wolfL: не картинка: заголовок BMP обрезан\n",
          "broken/broken.ini: an English reason of the system's own\n", "Выберите другой скин или встроенную игру."})
        EXPECT_TRUE(russian.contains(QString::fromUtf8(expected))) << expected << "\n" << russian.toStdString();
    EXPECT_FALSE(russian.contains(QStringLiteral("./"))) << russian.toStdString();

    const QString english = LaunchFailureText(InterfaceLanguage::English, failure);
    EXPECT_TRUE(english.contains(QStringLiteral("[BACK] ground: no such file: no \"back.bmp\" in \"pictures/\"; beside "
                                                "the skin: no such file: no \"back.bmp\" in \"broken/pictures/\"")))
        << english.toStdString();
}

TEST(ReasonText, PutsTheReadersAndTheInstallersReasonsIntoRussian) {
    struct Case {
        const char* english;
        const char* russian;
    };
    for (const Case& c : {
             Case{"not a number in field 4 (height): only the digits 0 to 9 are allowed, no sign or space",
                  "в поле 4 (height) не число: допустимы только цифры от 0 до 9, без знака и пробелов"},
             Case{"Wave is invalid", "это не звук в формате WAVE"},
             Case{"[SETTINGS] has no ver: write ver=1.6; [SETTINGS] has no title",
                  "в разделе [SETTINGS] нет ver: допишите ver=1.6; в разделе [SETTINGS] нет title"},
             Case{"Skins.zip: no skin this game can use (no .ini skin file in it; it holds a.txt, b.bmp)",
                  "Skins.zip: скина, пригодного для игры, нет (нет файла скина .ini; внутри: a.txt, b.bmp)"},
             Case{"pack/a.ini: cannot write the skin file", "pack/a.ini: не удалось записать файл скина"},
             // A file name that looks like a placeholder stays as written.
             Case{"no such file: no \"%2.bmp\" in \"x/\"", "нет такого файла: в \"x/\" нет \"%2.bmp\""},
             Case{"something no rule knows", "something no rule knows"},
         }) {
        EXPECT_EQ(ReasonText(InterfaceLanguage::Russian, c.english).toStdString(), c.russian);
        EXPECT_EQ(ReasonText(InterfaceLanguage::English, c.english).toStdString(), c.english);
    }
}

// In Russian the message boxes' buttons and the file dialog were English.
TEST_F(StartScreenTest, QtsOwnTextsFollowTheLanguage) {
    Open();
    struct Case {
        int flag;
        const char* ok;
        const char* cancel;
    };
    for (const Case& c : {Case{-1, "OK", "Отмена"}, Case{0, "OK", "Cancel"}, Case{-1, "OK", "Отмена"}}) {
        form->imLanguageClick(c.flag);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("x"),
                        QMessageBox::Ok | QMessageBox::Cancel, form.get());
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString::fromUtf8(c.ok)) << c.flag;
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8(c.cancel)) << c.flag;
    }
}

// On Wayland Qt's title bar offers maximise even so, and it only moved the window.
TEST_F(StartScreenTest, NeitherWindowCanBeMaximised) {
    Open();
    GameWindow& game = Game();
    PrepareBuiltinGame(game);
    game.Form().show();
    for (QWidget* window : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(&game.Form())}) {
        const QRect before = window->geometry();
        for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
            window->setWindowState(state);
            QTest::qWait(20);
            EXPECT_FALSE(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) << window->objectName().toStdString();
            EXPECT_EQ(window->geometry(), before) << window->objectName().toStdString();
        }
    }
    game.Form().close();
}

TEST(ShownPath, DropsDotStepsAndTheStartFolder) {
    struct Case {
        const char* path;
        const char* shown;
    };
    for (const Case& c : {Case{"./broken/broken.ini", "broken/broken.ini"}, Case{"/games/./a/../b/skin.ini", "b/skin.ini"},
                          Case{"/elsewhere/skin.ini", "/elsewhere/skin.ini"}, Case{"/games-2/skin.ini", "/games-2/skin.ini"},
                          Case{"skin.ini", "skin.ini"}})
        EXPECT_EQ(ShownPath(c.path, "/games/").string(), c.shown) << c.path;
}

TEST_F(StartScreenTest, EnterStartsAndClosingTheStartScreenClosesTheLastWindow) {
    // Qt ends the program when its last visible window closes: the hidden
    // game window must not count.
    Open();
    form->close();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();

    Open();
    const auto closer = CloseTheGameWhenShown();
    QTest::keyClick(form.get(), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->GameWindowIfCreated()->Engine().CurrentState() == GameMode::Demo);
}

// A flag with the focus once took Enter as another click on itself.
TEST_F(StartScreenTest, EnterOnAFlagStartsTheGameAndLeavesTheLanguage) {
    Open();
    const InterfaceLanguage before = form->Language();
    const auto closer = CloseTheGameWhenShown();
    form->ImBritish().setFocus();
    QTest::keyClick(&form->ImBritish(), Qt::Key_Return);
    EXPECT_EQ(form->Language(), before);
    EXPECT_FALSE(form->isVisible());
}

// A failure while the game window is made (its sound, its pictures) once
// unwound through Qt's event dispatch from the queued creation; the start
// button makes it now, from the button's clicked signal.
TEST_F(StartScreenTest, AGameWindowThatCannotBeMadeClosesTheStartScreenWithoutThrowing) {
    adjust_setup = [](StartScreenSetup& setup) {
        setup.make_game_window = []() -> std::unique_ptr<GameWindow> {
            throw std::runtime_error("The sound output has no mixer to play on");
        };
    };
    Open();
    EXPECT_TRUE(form->isVisible());  // nothing is made before the start button
    ::testing::internal::CaptureStderr();
    form->BtStart().click();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no mixer to play on"), std::string::npos) << said;
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->GameWindowIfCreated(), nullptr);
}

TEST_F(StartScreenTest, TabWalksDownTheFormAndPassesOverTheHiddenMemo) {
    WriteSkin("a.ini", "Alpha");  // an enabled menu takes the focus too
    Open();
    ASSERT_NO_FATAL_FAILURE(Activate());
    for (int tag : {-1, 0}) {
        form->imLanguageClick(tag);
        const QString memo = tag == -1 ? QStringLiteral("mmSUInstruction") : QStringLiteral("mmGBInstruction");
        form->ImSoviet().setFocus(Qt::TabFocusReason);
        QStringList walked;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        EXPECT_EQ(walked.join(u' ').toStdString(), ("imBritish " + memo + " cbSkin btStart imSoviet").toStdString())
            << tag;
    }
}

// The black pixels of the two-pixel band round a control, and the band's size.
std::pair<int, int> BlackAround(QWidget& form, QWidget& control) {
    const QImage shot = form.grab().toImage();
    const QRect box(control.mapTo(&form, QPoint(0, 0)), control.size());
    int black = 0, band = 0;
    for (int y = box.top() - 2; y <= box.bottom() + 2; ++y) {
        for (int x = box.left() - 2; x <= box.right() + 2; ++x) {
            if (box.contains(x, y)) continue;
            ++band;
            black += shot.pixel(x, y) == qRgb(0, 0, 0);
        }
    }
    return {black, band};
}

TEST_F(StartScreenTest, TheFocusedControlWearsABlackFrameOnTheGreen) {
    WriteSkin("a.ini", "Alpha");  // an enabled menu takes the focus too
    Open();
    ASSERT_NO_FATAL_FAILURE(Activate());
    const struct {
        int language;
        QWidget* control;
    } cases[] = {
        {-1, &form->ImSoviet()},         {-1, &form->ImBritish()}, {-1, &form->MmSUInstruction()},
        {0, &form->MmGBInstruction()}, {0, &form->CbSkin()},     {0, &form->BtStart()},
    };
    for (const auto& c : cases) {
        form->imLanguageClick(c.language);
        QWidget& control = *c.control;
        const std::string name = control.objectName().toStdString();
        control.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(control.hasFocus()) << name;
        const auto [black, band] = BlackAround(*form, control);
        EXPECT_EQ(black, band) << name << ": the whole frame is black";

        // Elsewhere the focus takes the frame along.
        QWidget& other = &control == &form->BtStart() ? static_cast<QWidget&>(form->ImSoviet()) : form->BtStart();
        other.setFocus(Qt::TabFocusReason);
        EXPECT_EQ(BlackAround(*form, control).first, 0) << name;
    }
    // With the focus nowhere (the game window took it), no frame stays behind.
    form->BtStart().setFocus(Qt::TabFocusReason);
    form->BtStart().clearFocus();
    EXPECT_EQ(BlackAround(*form, form->BtStart()).first, 0);
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

namespace pellox {
namespace {

TEST_F(StartScreenTest, TheContextMenuPreviewsTheSelectedSkinFile) {
    std::vector<std::filesystem::path> previewed;
    adjust_setup = [&](StartScreenSetup& setup) {
        setup.preview_skin = [&](const std::filesystem::path& file) { previewed.push_back(file); };
    };
    const std::filesystem::path skin = WriteSkin("wolf/wolf.ini", "Волк", "Wolf");
    Open();
    QAction& preview = form->PreviewSkinAction();
    EXPECT_TRUE(form->actions().contains(&preview));
    EXPECT_EQ(preview.text(), QStringLiteral("Предпросмотр этого скина"));
    ASSERT_EQ(form->CbSkin().currentIndex(), 1);
    ASSERT_TRUE(preview.isEnabled());
    preview.trigger();
    ASSERT_EQ(previewed.size(), 1u);
    EXPECT_TRUE(std::filesystem::equivalent(previewed.front(), skin));

    // The built-in game has no file to preview.
    form->CbSkin().setCurrentIndex(0);
    EXPECT_FALSE(preview.isEnabled());
    preview.trigger();
    EXPECT_EQ(previewed.size(), 1u);
}

TEST_F(StartScreenTest, WithoutAPreviewTheContextMenuOffersNone) {
    Open();
    EXPECT_FALSE(form->actions().contains(&form->PreviewSkinAction()));
}

// The start screen and the page take these texts from one table
// (startscreen/menu/start_texts.h): each shows in its place, whole.
TEST_F(StartScreenTest, ShowsTheTextsThePageTakesFromTheSharedTable) {
    Open();
    for (const InterfaceLanguage language : {InterfaceLanguage::English, InterfaceLanguage::Russian}) {
        QTest::mouseClick(IsRussian(language) ? &form->ImSoviet() : &form->ImBritish(), Qt::LeftButton);
        const StartTexts& t = StartTextsIn(language);
        const auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };
        const auto with = [&](const char* utf8, const QString& what) { return text(utf8).replace(QStringLiteral("%1"), what); };
        EXPECT_EQ(form->windowTitle(), text(t.window_caption));
        EXPECT_EQ(form->BtStart().text(), text(t.start_button));
        EXPECT_EQ(InstallSkinActionText(language), text(t.install_skin));
        EXPECT_EQ(LaunchFailureTitle(language), text(t.launch_failed_title));
        EXPECT_EQ(InstallFailureTitle(language), text(t.install_failed_title));

        LaunchFailure failure{"skin.ini", {}, "/start"};
        for (int i = 0; i < 6; ++i) failure.entries.push_back({"BACK", "entry" + std::to_string(i), "missing"});
        const QString launch = LaunchFailureText(language, failure);
        EXPECT_TRUE(launch.startsWith(text(t.not_loaded) + u'\n')) << launch.toStdString();
        EXPECT_TRUE(launch.contains(with(t.and_more, QStringLiteral("1")))) << launch.toStdString();
        EXPECT_TRUE(launch.endsWith(text(t.choose_another))) << launch.toStdString();

        SkinInstallResult nothing;
        SkinInstallResult rejected;
        rejected.rejected.push_back({"skin.ini", "ver=0.1 is older than 1.0"});
        const QString install = InstallFailureText(language, {{"empty.zip", nothing}, {"old.zip", rejected}});
        const QString quoted = with(t.quoted, QStringLiteral("empty.zip"));
        EXPECT_TRUE(install.startsWith(with(t.nothing_installed_from, quoted) + u'\n' + text(t.no_skin_file)))
            << install.toStdString();
        EXPECT_TRUE(install.contains(text(t.rejected_heading))) << install.toStdString();
    }
}

}  // namespace
}  // namespace pellox
