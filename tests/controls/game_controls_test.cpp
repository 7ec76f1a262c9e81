#include <QPaintEvent>
#include <QTimer>

#include "controls/control_keys.h"
#include "game_window_rig.h"

namespace pellox {
namespace {

using testing::GameWindowTest;

TEST(ControlKeys, MapsCharactersToPositionsInTheOrderULDLURDR) {
    const ControlKeys builtin;
    const ControlKeys clash{u'A', u'A', u'B', u'A'};  // a skin with equal keys
    struct Case { char16_t typed; ControlKeys keys; std::optional<int> position; };
    const Case cases[] = {
        {u'W', builtin, 0}, {u'w', builtin, 0}, {u'O', builtin, 1}, {u'd', builtin, 2},
        {u'K', builtin, 3}, {u'x', builtin, std::nullopt}, {u'1', builtin, std::nullopt},
        {u'a', clash, 0},   {u'b', clash, 2},
        {u'ж', ControlKeys{u'ж', u'O', u'D', u'K'}, 0},  // only a..z change case
        {u'Ж', ControlKeys{u'ж', u'O', u'D', u'K'}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(PositionForKey(c.typed, c.keys), c.position) << int(c.typed);
}

// X11 keycodes (evdev + 8) of the physical keys that type these on a US keyboard.
enum UsKey : ScanCode { kQ = 24, kW = 25, kO = 32, kA = 38, kD = 40, kK = 45, kL = 46, kSemicolon = 47, kZ = 52 };

TEST(ControlKeys, KeyPressPlaysByCharacterThenByPhysicalKeyOnLayoutsWithoutLatinLetters) {
    const ControlKeys builtin;
    const ControlKeys digits{u'1', u'2', u'3', u'4'};
    const ControlKeys cyrillic{u'ж', u'O', u'D', u'K'};
    const ControlKeys qpal{u'Q', u'P', u'A', u'L'};
    struct Case { const char* layout; ScanCode scan; char16_t typed; ControlKeys keys; std::optional<int> position; };
    const Case cases[] = {
        {"us", kW, u'w', builtin, 0},          {"us", kO, u'O', builtin, 1},
        {"us", kD, u'd', builtin, 2},          {"us", kK, u'k', builtin, 3},
        {"ru", kW, u'ц', builtin, 0},          {"ru", kO, u'щ', builtin, 1},
        {"ru", kD, u'в', builtin, 2},          {"ru", kK, u'л', builtin, 3},
        {"ru shift", kW, u'Ц', builtin, 0},    {"ru", kL, u'д', builtin, std::nullopt},
        {"ua", kO, u'щ', builtin, 1},          {"gr", kW, u'ς', builtin, 0},
        {"gr", kK, u'κ', builtin, 3},          {"il", kW, u'\'', builtin, 0},
        {"il", kO, u'ם', builtin, 1},          {"ara", kD, u'ي', builtin, 2},
        // AZERTY has its own W: its Z key on the US W place does nothing.
        {"fr", kW, u'z', builtin, std::nullopt}, {"fr", kZ, u'w', builtin, 0},
        {"ru dead key", kK, 0, builtin, 3},    {"ru no scan code", 0, u'ц', builtin, std::nullopt},
        {"us no key", 0, 0, builtin, std::nullopt},
        // Skins: keys that are no Latin letters keep the character rule only.
        {"ru", kW, u'ц', digits, std::nullopt}, {"ru", 10, u'1', digits, 0},
        {"ru", kSemicolon, u'ж', cyrillic, 0},  {"us", kSemicolon, u';', cyrillic, std::nullopt},
        {"ru", kO, u'щ', cyrillic, 1},          {"ru", kQ, u'й', qpal, 0},
        {"ru", kA, u'ф', qpal, 2},              {"ru", kW, u'ц', qpal, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PositionForKeyPress({c.typed, c.scan}, c.keys), c.position)
            << c.layout << " scan " << c.scan << " typed " << int(c.typed);
}

TEST_F(GameWindowTest, LaunchPreparesTheBuiltinGameInTheDemo) {
    EXPECT_EQ(form().size(), QSize(883, 566));
    EXPECT_EQ(engine().CurrentState(), GameMode::Demo);
    EXPECT_TRUE(engine().SoundOn());
    EXPECT_EQ(engine().WolfPos(), 2);
    EXPECT_EQ(window->Texts().TitleGB, u"“Kestrow”");
    EXPECT_EQ(form().windowTitle().size(), 16);
}

TEST_F(GameWindowTest, KeyInTheDemoDoesNothing) {
    Type('o');
    EXPECT_EQ(engine().WolfPos(), 2);
    EXPECT_TRUE(Lit(SpriteId::imWolf0));
    EXPECT_FALSE(Lit(SpriteId::imWolf1));
}

TEST_F(GameWindowTest, GameBPressedInTheDemoShowsItsScoreAndReleaseStartsPlay) {
    SettingsRecordsStore(records_file).WriteRecord(Variant::B, 40);
    Open();

    const int top = Top(SpriteId::imButtB);
    Press(SpriteId::imButtB);
    EXPECT_EQ(Top(SpriteId::imButtB), top + 1);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
    EXPECT_TRUE(Lit(SpriteId::imGameB));
    EXPECT_FALSE(Lit(SpriteId::imGameA));
    // 40: the tens show a 4 (middle, no top), the ones a 0 (top, no middle).
    EXPECT_FALSE(Lit(SpriteId::imD10_U));
    EXPECT_TRUE(Lit(SpriteId::imD10_M));
    EXPECT_TRUE(Lit(SpriteId::imD1_U));
    EXPECT_FALSE(Lit(SpriteId::imD1_M));
    EXPECT_FALSE(Lit(SpriteId::imD100_U));

    Release(SpriteId::imButtB);
    EXPECT_EQ(Top(SpriteId::imButtB), top);
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
    EXPECT_EQ(window->FrameTimer().Interval(), 265);
    EXPECT_TRUE(window->FrameTimer().Enabled());
    EXPECT_EQ(engine().WolfPos(), 2);
    EXPECT_TRUE(Lit(SpriteId::imWolf0));
    EXPECT_TRUE(Lit(SpriteId::imBask2));
}

TEST_F(GameWindowTest, KeyTurnsTheWolfAndLightsThePoseAndBasket) {
    Click(SpriteId::imButtA);
    struct Case { char key; SpriteId pose, basket, dark_pose; };
    const Case cases[] = {
        {'o', SpriteId::imWolf1, SpriteId::imBask1, SpriteId::imWolf0},
        {'K', SpriteId::imWolf1, SpriteId::imBask3, SpriteId::imWolf0},
        {'w', SpriteId::imWolf0, SpriteId::imBask0, SpriteId::imWolf1},
        {'D', SpriteId::imWolf0, SpriteId::imBask2, SpriteId::imWolf1},
    };
    for (const Case& c : cases) {
        Type(c.key);
        EXPECT_TRUE(Lit(c.pose)) << c.key;
        EXPECT_FALSE(Lit(c.dark_pose)) << c.key;
        int baskets = 0;
        for (SpriteId b : {SpriteId::imBask0, SpriteId::imBask1, SpriteId::imBask2, SpriteId::imBask3})
            baskets += Lit(b);
        EXPECT_EQ(baskets, 1) << c.key;
        EXPECT_TRUE(Lit(c.basket)) << c.key;
    }
}

// A frame tick may be due the moment a key has been handled; its step sound
// would hold a queued repaint for 40 ms. The key's handler paints at once.
TEST_F(GameWindowTest, KeyPaintsTheTurnedWolfBeforeItsHandlerReturns) {
    QCoreApplication::processEvents();  // the first paint of the shown window
    testing::PaintLog log;
    form().installEventFilter(&log);
    TypeOn(QStringLiteral("o"), kO);  // the demo ignores keys: nothing to paint
    EXPECT_EQ(log.paints, 0);

    Click(SpriteId::imButtA);
    QCoreApplication::processEvents();
    log.paints = 0;
    log.painted = QRegion();
    TypeOn(QStringLiteral("k"), kK);
    ASSERT_EQ(engine().WolfPos(), 3);
    EXPECT_GE(log.paints, 1);
    for (SpriteId id : {SpriteId::imWolf0, SpriteId::imWolf1, SpriteId::imBask2, SpriteId::imBask3})
        EXPECT_TRUE(log.painted.contains(ToQRect(form().Sprites().BoundsOf(id)))) << IndexOf(id);
    form().removeEventFilter(&log);
}

TEST_F(GameWindowTest, RussianLayoutKeysTurnTheWolfByTheirPlace) {
    Click(SpriteId::imButtA);
    struct Case { QString text; ScanCode scan; int position; SpriteId basket; };
    const Case cases[] = {
        {QStringLiteral("щ"), kO, 1, SpriteId::imBask1}, {QStringLiteral("в"), kD, 2, SpriteId::imBask2},
        {QStringLiteral("Л"), kK, 3, SpriteId::imBask3}, {QStringLiteral("ц"), kW, 0, SpriteId::imBask0},
        {QString(), kK, 3, SpriteId::imBask3},
    };
    for (const Case& c : cases) {
        TypeOn(c.text, c.scan);
        EXPECT_EQ(engine().WolfPos(), c.position) << c.text.toStdString();
        EXPECT_TRUE(Lit(c.basket)) << c.text.toStdString();
    }
    TypeOn(QStringLiteral("д"), kL);  // no game key there
    EXPECT_EQ(engine().WolfPos(), 3);
}

TEST_F(GameWindowTest, RightButtonArmsAGameLikeTheLeft) {
    Press(SpriteId::imButtA, Qt::RightButton);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
    EXPECT_TRUE(Lit(SpriteId::imGameA));
    Release(SpriteId::imButtA, Qt::RightButton);
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
}

TEST_F(GameWindowTest, GameButtonDuringPlayOnlyMovesAndTimeButtonLeavesGameOver) {
    Click(SpriteId::imButtA);
    const EngineState playing = engine().State();
    const int top = Top(SpriteId::imButtB);
    Press(SpriteId::imButtB);
    EXPECT_EQ(Top(SpriteId::imButtB), top + 1);
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
    Release(SpriteId::imButtB);

    Click(SpriteId::imButtT);  // in play: only moves
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);

    EngineState over = playing;
    over.GameState = GameMode::GameOver;
    engine().RestoreState(over);
    Press(SpriteId::imButtT);
    EXPECT_EQ(engine().CurrentState(), GameMode::GameOver);  // the release does it
    Release(SpriteId::imButtT);
    EXPECT_EQ(engine().CurrentState(), GameMode::Demo);
    EXPECT_TRUE(Lit(SpriteId::imColon));
}

TEST_F(GameWindowTest, SoundButtonHidesTheBellAndSilencesTheEffects) {
    Click(SpriteId::imButtS);
    EXPECT_FALSE(engine().SoundOn());
    EXPECT_FALSE(Lit(SpriteId::imBell));
    Click(SpriteId::imButtA);
    played.clear();
    for (int i = 0; i < 40; ++i) engine().dxTimerTimer();
    EXPECT_TRUE(played.empty());

    Click(SpriteId::imButtS);
    EXPECT_TRUE(Lit(SpriteId::imBell));
    for (int i = 0; i < 40; ++i) engine().dxTimerTimer();
    EXPECT_FALSE(played.empty());
}

TEST_F(GameWindowTest, AnErrorWhileHandlingAKeyIsShownAndPlayGoesOn) {
    Click(SpriteId::imButtA);
    EngineState waiting = engine().State();
    waiting.CurChute = 0;
    waiting.Chutes = {1, 0, 0, 0};
    waiting.EggsInPlay = 1;
    engine().RestoreState(waiting);
    sound_failure = "A sound cannot be made ready on the sound output";

    Type('w');  // catches: the catch sound fails inside the key handler

    const QList<QMessageBox*> boxes = form().findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.front()->text(), QStringLiteral("A sound cannot be made ready on the sound output"));
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
    sound_failure.reset();
    Type('o');
    EXPECT_EQ(engine().WolfPos(), 1);
}

TEST_F(GameWindowTest, SoundButtonNeedsALeftClickOnItself) {
    Press(SpriteId::imButtS);
    Mouse(QEvent::MouseButtonRelease, Centre(SpriteId::imButtX), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(engine().SoundOn());  // released elsewhere: no click
    Click(SpriteId::imButtS, Qt::RightButton);
    EXPECT_TRUE(engine().SoundOn());
}

TEST_F(GameWindowTest, LeftButtonDragsTheWindowByTheBackgroundAndRightButtonDoesNot) {
    const QPoint start = form().pos();
    Mouse(QEvent::MouseButtonPress, {100, 450}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {110, 455}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form().pos(), start + QPoint(10, 5));
    Mouse(QEvent::MouseButtonRelease, {110, 455}, Qt::LeftButton, Qt::NoButton);

    Mouse(QEvent::MouseButtonPress, {100, 450}, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseMove, {130, 480}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(form().pos(), start + QPoint(10, 5));
    EXPECT_EQ(window->Controls().Anchor().x, 100);  // the right button still sets the anchor
    Mouse(QEvent::MouseButtonRelease, {130, 480}, Qt::RightButton, Qt::NoButton);
}

TEST_F(GameWindowTest, ExitButtonStopsBothTimersAndClosesTheWindow) {
    bool closed = false;
    QObject::connect(&form(), &TMForm::Closed, [&] { closed = true; });
    window->FrameTimer().SetEnabled(true);
    Click(SpriteId::imButtX);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(window->FrameTimer().Enabled());
    EXPECT_FALSE(window->SideTimer().Enabled());
}

TEST_F(GameWindowTest, ExitButtonPressedWhileATickLetsEventsRun) {
    Click(SpriteId::imButtA);
    // The click waits in the queue until the moving tick lets events through.
    const QPoint at = Centre(SpriteId::imButtX);
    for (auto [type, held] : {std::pair{QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton)},
                              std::pair{QEvent::MouseButtonRelease, Qt::MouseButtons(Qt::NoButton)}})
        QCoreApplication::postEvent(&form(), new QMouseEvent(type, QPointF(at), QPointF(form().mapToGlobal(at)),
                                                             Qt::LeftButton, held, Qt::NoModifier));
    engine().dxTimerTimer();
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(window->FrameTimer().Enabled());
    EXPECT_FALSE(window->SideTimer().Enabled());
    engine().dxTimerTimer();  // a late tick on the closed window is harmless
}

TEST_F(GameWindowTest, WindowClosedByTheWindowManagerLeavesNoTimerRunning) {
    window->FrameTimer().SetEnabled(true);
    form().close();
    EXPECT_FALSE(window->FrameTimer().Enabled());
    EXPECT_FALSE(window->SideTimer().Enabled());
}

TEST_F(GameWindowTest, TheSideTimerAndTheSoundOutputRunOnlyWhileTheWindowIsShown) {
    auto& sound = static_cast<testing::RecordingSound&>(window->Sound());
    EXPECT_TRUE(window->SideTimer().Armed());
    EXPECT_TRUE(sound.output_open);
    form().hide();
    EXPECT_TRUE(window->SideTimer().Enabled());  // the game's own switch is untouched
    EXPECT_FALSE(window->SideTimer().Armed());
    EXPECT_FALSE(sound.output_open);
    form().show();
    EXPECT_TRUE(window->SideTimer().Armed());
    EXPECT_TRUE(sound.output_open);

    // A window made and never shown, as the start screen makes it, wakes nobody.
    GameWindow hidden(testing::BuiltinPictures(), std::make_unique<testing::RecordingSound>(&played, &sound_failure),
                      std::make_unique<SettingsRecordsStore>(records_file));
    EXPECT_FALSE(hidden.SideTimer().Armed());
    EXPECT_FALSE(static_cast<testing::RecordingSound&>(hidden.Sound()).output_open);
}

TEST_F(GameWindowTest, HeldKeyThroughAMissAndQuickGameButtonPressesStaySafe) {
    Click(SpriteId::imButtA);
    for (int i = 0; i < 200; ++i) {
        engine().dxTimerTimer();
        QTest::keyPress(&form(), 'k');  // auto-repeat arrives as more presses
    }
    for (int i = 0; i < 50; ++i) Click(i % 2 ? SpriteId::imButtA : SpriteId::imButtB);
    EXPECT_EQ(Top(SpriteId::imButtA), LayoutOf(SpriteId::imButtA).bounds.top);
    EXPECT_EQ(Top(SpriteId::imButtB), LayoutOf(SpriteId::imButtB).bounds.top);
}

TEST_F(GameWindowTest, RunReturnsWhenTheExitButtonIsClicked) {
    form().hide();
    QTimer::singleShot(50, [&] { Click(SpriteId::imButtX); });
    RunGameWindow(*window);
    EXPECT_FALSE(form().isVisible());
}

}  // namespace
}  // namespace pellox
