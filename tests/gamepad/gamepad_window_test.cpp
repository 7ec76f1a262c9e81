// Gamepads playing a real game window: SDL's virtual controllers plugged in,
// their buttons pressed, unplugged and plugged in again.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

#include "gamepad/gamepad_window.h"
#include "tests/controls/game_window_rig.h"
#include "tests/support/fifo_watch.h"
#include "virtual_pad.h"

namespace pellox {
namespace {

using testing::BuiltinPictures;
using testing::RecordingSound;
using testing::VirtualPad;

// The rig's game window, made as the game makes it: with gamepads.
class GamepadWindowTest : public testing::GameWindowTest {
protected:
    QString mapping_file = GamepadMappingFileBeside(records_file);
    RecordingSound* recording = nullptr;  // the sound inside the window's rumbling one

    void SetUp() override { Open(); }

    // As the launch prepares the built-in game, the frame timer stopped so
    // that the test drives the ticks.
    void Open() {
        window.reset();
        auto sound = std::make_unique<RecordingSound>(&played, &sound_failure);
        recording = sound.get();
        window = MakeGameWindowWithGamepads(BuiltinPictures(), std::move(sound),
                                            std::make_unique<SettingsRecordsStore>(records_file), mapping_file);
        PrepareBuiltinGame(*window);
        window->FrameTimer().SetEnabled(false);
        form().show();
        // A controller plays only for the application in front.
        form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
        ASSERT_NE(gamepads(), nullptr);
        ASSERT_TRUE(gamepads()->Started());
    }

    // SDL starts as the window is shown, and the end of its mapping file's
    // reading, on a thread of its own, reads SDL's queue: settled before a
    // test plugs a controller in for a second reader of that queue.
    void LetTheWindowsGamepadsSettle() {
        QElapsedTimer waited;
        waited.start();
        while (!gamepads()->MappingsRead() && waited.elapsed() < 10000) QCoreApplication::processEvents();
        ASSERT_TRUE(gamepads()->MappingsRead());
    }

    GamepadInput* gamepads() { return GamepadsOf(*window); }
    SpriteId LitBasket() {
        for (SpriteId b : {SpriteId::imBask0, SpriteId::imBask1, SpriteId::imBask2, SpriteId::imBask3})
            if (Lit(b)) return b;
        return SpriteId::imBckgrnd;
    }

    // A wake of the game's, as a device node or the hot-plug watch gives one.
    void Wake() { gamepads()->Update(); }
    void Press(VirtualPad& pad, int button) {
        pad.Button(button, true);
        Wake();
    }
    void Release(VirtualPad& pad, int button) {
        pad.Button(button, false);
        Wake();
    }
    void PlugIn(VirtualPad& pad) {
        ASSERT_TRUE(pad.Plug()) << SDL_GetError();
        Wake();
    }
};

TEST_F(GamepadWindowTest, AControllerIsOpenedWhenPluggedInAndReadOnlyWhileThere) {
    EXPECT_EQ(gamepads()->OpenControllers(), 0);
    EXPECT_FALSE(gamepads()->Polling());  // nothing plugged in: nothing runs
    {
        VirtualPad pad;
        PlugIn(pad);
        EXPECT_EQ(gamepads()->OpenControllers(), 1);
        EXPECT_TRUE(gamepads()->Polling());  // a virtual one has no node to wake us
        pad.Unplug();
        Wake();
    }
    EXPECT_EQ(gamepads()->OpenControllers(), 0);
    EXPECT_FALSE(gamepads()->Polling());
}

TEST_F(GamepadWindowTest, StartAndBackAreGameAAndGameBHeldToShowTheScoreLetGoToStart) {
    SettingsRecordsStore(records_file).WriteRecord(Variant::A, 40);
    SettingsRecordsStore(records_file).WriteRecord(Variant::B, 7);
    struct Case { int pad_button; SpriteId case_button, title, other_title; bool tens_middle; };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_START, SpriteId::imButtA, SpriteId::imGameA, SpriteId::imGameB, true},
        {SDL_CONTROLLER_BUTTON_BACK, SpriteId::imButtB, SpriteId::imGameB, SpriteId::imGameA, false},
    };
    for (const Case& c : cases) {
        Open();
        VirtualPad pad;
        PlugIn(pad);
        const int top = Top(c.case_button);
        Press(pad, c.pad_button);
        EXPECT_EQ(Top(c.case_button), top + 1) << c.pad_button;
        EXPECT_EQ(engine().CurrentState(), GameMode::Armed) << c.pad_button;
        EXPECT_TRUE(Lit(c.title)) << c.pad_button;
        EXPECT_FALSE(Lit(c.other_title)) << c.pad_button;
        // 40 shows a 4 in the tens (its middle bar lit), 7 a blank tens.
        EXPECT_EQ(Lit(SpriteId::imD10_M), c.tens_middle) << c.pad_button;

        Release(pad, c.pad_button);
        EXPECT_EQ(Top(c.case_button), top) << c.pad_button;
        EXPECT_EQ(engine().CurrentState(), GameMode::Playing) << c.pad_button;
        EXPECT_TRUE(window->FrameTimer().Enabled()) << c.pad_button;
    }
}

TEST_F(GamepadWindowTest, EachPlayButtonTurnsTheWolfToItsChute) {
    VirtualPad pad;
    PlugIn(pad);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    Release(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(engine().CurrentState(), GameMode::Playing);

    enum Input { kButton, kTrigger };
    struct Case { Input input; int id; std::uint8_t position; SpriteId pose, basket; };
    // In an order that turns the wolf every time.
    const Case cases[] = {
        {kButton, SDL_CONTROLLER_BUTTON_Y, 1, SpriteId::imWolf1, SpriteId::imBask1},
        {kButton, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, SpriteId::imWolf0, SpriteId::imBask0},
        {kButton, SDL_CONTROLLER_BUTTON_A, 3, SpriteId::imWolf1, SpriteId::imBask3},
        {kButton, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 2, SpriteId::imWolf0, SpriteId::imBask2},
        {kButton, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1, SpriteId::imWolf1, SpriteId::imBask1},
        {kButton, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, SpriteId::imWolf0, SpriteId::imBask0},
        {kTrigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 3, SpriteId::imWolf1, SpriteId::imBask3},
        {kTrigger, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 2, SpriteId::imWolf0, SpriteId::imBask2},
    };
    for (const Case& c : cases) {
        if (c.input == kButton) pad.Button(c.id, true);
        else pad.Axis(c.id, 30000);
        Wake();
        EXPECT_EQ(engine().WolfPos(), c.position) << c.id;
        EXPECT_TRUE(Lit(c.pose)) << c.id;
        EXPECT_EQ(LitBasket(), c.basket) << c.id;
        if (c.input == kButton) pad.Button(c.id, false);
        else pad.Axis(c.id, 0);
        Wake();
    }
    // The buttons a resting thumb finds do nothing.
    for (int idle : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_LEFT,
                     SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_LEFTSTICK}) {
        Press(pad, idle);
        Release(pad, idle);
        EXPECT_EQ(engine().WolfPos(), 2) << idle;
    }
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
}

// As with a key: a frame tick due the moment the button has been read would
// hold a queued repaint behind its step sound. The turn is painted at once.
TEST_F(GamepadWindowTest, APlayButtonPaintsTheTurnedWolfBeforeTheReadReturns) {
    VirtualPad pad;
    PlugIn(pad);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    Release(pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(engine().CurrentState(), GameMode::Playing);
    QCoreApplication::processEvents();  // what starting the game drew

    testing::PaintLog log;
    form().installEventFilter(&log);
    Press(pad, SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(engine().WolfPos(), 3);
    EXPECT_GE(log.paints, 1);
    for (SpriteId id : {SpriteId::imWolf0, SpriteId::imWolf1, SpriteId::imBask2, SpriteId::imBask3})
        EXPECT_TRUE(log.painted.contains(ToQRect(form().Sprites().BoundsOf(id)))) << IndexOf(id);
    form().removeEventFilter(&log);
}

TEST_F(GamepadWindowTest, RightStickPressIsTimeAndLeavesAFinishedGame) {
    VirtualPad pad;
    PlugIn(pad);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    Release(pad, SDL_CONTROLLER_BUTTON_START);
    EngineState over = engine().State();
    over.GameState = GameMode::GameOver;
    engine().RestoreState(over);

    const int top = Top(SpriteId::imButtT);
    Press(pad, SDL_CONTROLLER_BUTTON_RIGHTSTICK);
    EXPECT_EQ(Top(SpriteId::imButtT), top + 1);
    EXPECT_EQ(engine().CurrentState(), GameMode::GameOver);  // the release does it
    Release(pad, SDL_CONTROLLER_BUTTON_RIGHTSTICK);
    EXPECT_EQ(Top(SpriteId::imButtT), top);
    EXPECT_EQ(engine().CurrentState(), GameMode::Demo);
}

TEST_F(GamepadWindowTest, UnpluggedAndPluggedAgainDuringPlayTheNewControllerPlays) {
    auto pad = std::make_unique<VirtualPad>();
    PlugIn(*pad);
    Press(*pad, SDL_CONTROLLER_BUTTON_START);
    Release(*pad, SDL_CONTROLLER_BUTTON_START);
    Press(*pad, SDL_CONTROLLER_BUTTON_Y);
    ASSERT_EQ(engine().WolfPos(), 1);

    pad.reset();  // pulled out with Y held
    Wake();
    EXPECT_EQ(gamepads()->OpenControllers(), 0);
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);

    VirtualPad again;
    PlugIn(again);
    EXPECT_EQ(gamepads()->OpenControllers(), 1);
    Press(again, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(engine().WolfPos(), 2);
    EXPECT_EQ(LitBasket(), SpriteId::imBask2);
}

// The read of a controller's node that finds it gone runs inside that node's
// notifier: the controller is closed then, its notifier once the read is over.
TEST_F(GamepadWindowTest, AControllerFoundGoneByItsOwnNodesWakeIsClosedAfterThatWake) {
    auto pad = std::make_unique<VirtualPad>();
    PlugIn(*pad);
    int node[2];
    ASSERT_EQ(::pipe2(node, O_NONBLOCK | O_CLOEXEC), 0);
    ASSERT_TRUE(gamepads()->WakeOnAsNodeForBench(pad->InstanceId(), node[0]));
    pad.reset();
    ASSERT_EQ(::write(node[1], "x", 1), 1);  // the node wakes; SDL then tells it is gone
    QElapsedTimer waited;
    waited.start();
    while (gamepads()->OpenControllers() > 0 && waited.elapsed() < 5000) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ::close(node[1]);
    EXPECT_EQ(gamepads()->OpenControllers(), 0);

    VirtualPad again;
    PlugIn(again);
    Press(again, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
}

TEST_F(GamepadWindowTest, ACaseButtonHeldAsTheControllerGoesIsLetGo) {
    auto pad = std::make_unique<VirtualPad>();
    PlugIn(*pad);
    const int top = Top(SpriteId::imButtA);
    Press(*pad, SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(engine().CurrentState(), GameMode::Armed);
    pad.reset();
    Wake();
    // As a mouse button let go: the button is up, and the armed game starts.
    EXPECT_EQ(Top(SpriteId::imButtA), top);
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
}

TEST_F(GamepadWindowTest, TwoControllersPlayTheSameWolf) {
    VirtualPad first, second(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Pellox second pad");
    PlugIn(first);
    PlugIn(second);
    EXPECT_EQ(gamepads()->OpenControllers(), 2);
    Press(second, SDL_CONTROLLER_BUTTON_START);
    Release(second, SDL_CONTROLLER_BUTTON_START);
    Press(first, SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(engine().WolfPos(), 3);
}

TEST_F(GamepadWindowTest, AVirtualControllerIsReadByItsTimerWithoutAWake) {
    VirtualPad pad;
    PlugIn(pad);
    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine().CurrentState() == GameMode::Armed; }, 1000));
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine().CurrentState() == GameMode::Playing; }, 1000));
}

TEST_F(GamepadWindowTest, ANewNodeInTheDeviceFolderMakesItLookForControllers) {
    ASSERT_NO_FATAL_FAILURE(LetTheWindowsGamepadsSettle());
    QTemporaryDir devices;
    GamepadInput watching(window->Controls(), GamepadInputOptions{.device_folder = devices.path()});
    VirtualPad pad;
    ASSERT_TRUE(pad.Plug());
    // Nothing woke it yet.
    EXPECT_EQ(watching.OpenControllers(), 0);
    QFile node(devices.filePath(QStringLiteral("event7")));
    ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watching.OpenControllers() == 1; }, 2000));
}

TEST_F(GamepadWindowTest, ADeviceFolderMadeLaterIsWatchedFromItsParent) {
    ASSERT_NO_FATAL_FAILURE(LetTheWindowsGamepadsSettle());
    QTemporaryDir dev;
    const QString input = dev.filePath(QStringLiteral("input"));
    GamepadInput watching(window->Controls(), GamepadInputOptions{.device_folder = input});
    VirtualPad pad;
    ASSERT_TRUE(pad.Plug());
    ASSERT_TRUE(QDir(dev.path()).mkdir(QStringLiteral("input")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watching.OpenControllers() == 1; }, 2000));
}

TEST_F(GamepadWindowTest, SdlStartsWhenItsWindowIsFirstShownAndWithoutItTheKeysStillPlay) {
    window.reset();
    window = MakeGameWindowWithGamepads(BuiltinPictures(), std::make_unique<RecordingSound>(&played, &sound_failure),
                                        std::make_unique<SettingsRecordsStore>(records_file), mapping_file);
    PrepareBuiltinGame(*window);
    window->FrameTimer().SetEnabled(false);
    EXPECT_FALSE(gamepads()->Started());  // made hidden, as the start screen makes it
    form().show();
    EXPECT_TRUE(gamepads()->Started());

    // A system without SDL: the reason is told, nothing starts, keys play on.
    QLoggingCategory::setFilterRules(QStringLiteral("pellox.gamepad.warning=true"));
    ::testing::internal::CaptureStderr();
    GamepadInput missing(window->Controls(),
                         GamepadInputOptions{.form = &form(), .sdl_library = "libpellox-no-such-sdl.so.0"});
    form().hide();
    form().show();
    const std::string said = ::testing::internal::GetCapturedStderr();
    QLoggingCategory::setFilterRules(QString());
    EXPECT_FALSE(missing.Started());
    EXPECT_NE(said.find("pellox: no gamepads: SDL cannot be loaded (libpellox-no-such-sdl.so.0"), std::string::npos)
        << said;
    missing.Update();
    missing.StartRumble(Rumble{});
    Click(SpriteId::imButtA);
    Type('k');
    EXPECT_TRUE(Lit(SpriteId::imBask3));
}

TEST_F(GamepadWindowTest, AControllerPlaysOnlyWhileTheGameIsInFront) {
    ASSERT_NO_FATAL_FAILURE(LetTheWindowsGamepadsSettle());
    bool in_front = false;
    GamepadInput behind(window->Controls(), GamepadInputOptions{.in_front = [&] { return in_front; }});
    VirtualPad pad;
    ASSERT_TRUE(pad.Plug());
    const int top = Top(SpriteId::imButtA);
    auto press_and_look = [&](int button, bool down) {
        pad.Button(button, down);
        behind.Update();
    };
    press_and_look(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(engine().CurrentState(), GameMode::Demo);
    EXPECT_EQ(Top(SpriteId::imButtA), top);
    in_front = true;  // brought to the front with Start still held
    press_and_look(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(Top(SpriteId::imButtA), top);  // not let go without a press
    EXPECT_EQ(engine().CurrentState(), GameMode::Demo);
    press_and_look(SDL_CONTROLLER_BUTTON_START, true);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
    in_front = false;  // sent behind while held: the release still comes
    press_and_look(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(Top(SpriteId::imButtA), top);
    EXPECT_EQ(engine().CurrentState(), GameMode::Playing);
}

// Into play with an egg at the upper left chute's mouth and the wolf at the
// lower right: the next tick drops it.
void MissNextTick(GameEngine& engine) {
    EngineState state = engine.State();
    state.GameState = GameMode::Playing;
    state.CurChute = 0;
    state.Chutes = {1, 0, 0, 0};
    state.EggsInPlay = 1;
    state.WolfPos = 3;
    state.StepPending = true;
    engine.RestoreState(state);
}

TEST_F(GamepadWindowTest, AMissRumblesShortlyAndTheRumbleIsStoppedAtItsEnd) {
    VirtualPad pad;
    PlugIn(pad);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    Release(pad, SDL_CONTROLLER_BUTTON_START);
    MissNextTick(engine());
    engine().dxTimerTimer();
    ASSERT_EQ(engine().CurrentState(), GameMode::MissAnim);
    ASSERT_EQ(pad.Rumbles().size(), 1u);
    EXPECT_EQ(pad.Rumbles()[0], std::make_pair(kMissRumble.low, kMissRumble.high));
    EXPECT_EQ(played.back(), static_cast<int>(EffectIndex(Effect::Crack)));  // and sounds as before
    EXPECT_TRUE(QTest::qWaitFor([&] { return pad.Rumbles().size() == 2; }, 1000));
    EXPECT_EQ(pad.Rumbles().back(), std::make_pair(Uint16{0}, Uint16{0}));
}

TEST_F(GamepadWindowTest, TheGamesEndRumblesLongerAndNothingRumblesWithTheSoundOff) {
    VirtualPad pad;
    PlugIn(pad);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    Release(pad, SDL_CONTROLLER_BUTTON_START);
    EngineState last_miss = engine().State();
    last_miss.Misses = 6;  // three marks: the side tick ends the game
    engine().RestoreState(last_miss);
    engine().TimerTimer();
    ASSERT_FALSE(pad.Rumbles().empty());
    EXPECT_EQ(pad.Rumbles()[0], std::make_pair(kGameOverRumble.low, kGameOverRumble.high));

    Open();
    VirtualPad quiet;
    PlugIn(quiet);
    engine().ToggleSound();
    Press(quiet, SDL_CONTROLLER_BUTTON_START);
    Release(quiet, SDL_CONTROLLER_BUTTON_START);
    MissNextTick(engine());
    engine().dxTimerTimer();
    ASSERT_EQ(engine().CurrentState(), GameMode::MissAnim);
    last_miss = engine().State();
    last_miss.Misses = 6;
    engine().RestoreState(last_miss);
    engine().TimerTimer();
    EXPECT_TRUE(quiet.Rumbles().empty());
}

// A rumble runs on after the call that started it, until the read after its
// end stops it: neither a controller pulled out meanwhile nor the window
// closed meanwhile leaves anything behind that its end would reach.
TEST_F(GamepadWindowTest, AControllerPulledOutWhileItRumblesIsForgottenAndTheNextOnePlays) {
    auto pad = std::make_unique<VirtualPad>();
    PlugIn(*pad);
    gamepads()->StartRumble({1000, 2000, 50});
    ASSERT_EQ(pad->Rumbles().size(), 1u);
    pad.reset();
    Wake();
    EXPECT_EQ(gamepads()->OpenControllers(), 0);
    QTest::qWait(150);  // past the rumble's end, and the read it gives

    VirtualPad again;
    PlugIn(again);
    gamepads()->StartRumble({3000, 4000, 50});
    ASSERT_EQ(again.Rumbles().size(), 1u);
    EXPECT_EQ(again.Rumbles()[0], std::make_pair(Uint16{3000}, Uint16{4000}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.Rumbles().size() == 2; }, 1000));
}

TEST_F(GamepadWindowTest, AWindowClosedWhileAMissRumblesLeavesNothingForTheRumblesEnd) {
    VirtualPad pad;
    PlugIn(pad);
    Click(SpriteId::imButtA);  // a game started with the mouse
    MissNextTick(engine());
    engine().dxTimerTimer();
    ASSERT_EQ(pad.Rumbles().size(), 1u);
    window.reset();
    QTest::qWait(kMissRumble.duration_ms + 100);
    // The sound the rumble wrapped went with the window, and nothing else of
    // it was reached after.
    EXPECT_EQ(played.back(), static_cast<int>(EffectIndex(Effect::Crack)));
    pad.Unplug();
    Open();
    VirtualPad again;
    PlugIn(again);
    EXPECT_EQ(gamepads()->OpenControllers(), 1);
}

TEST_F(GamepadWindowTest, ASkinsWavesReachTheSoundThroughTheRumble) {
    ASSERT_TRUE(window->Sound().LoadEffectFile(Effect::Crack, "/skins/crack.wav"));
    EXPECT_EQ(recording->loaded[Effect::Crack], "/skins/crack.wav");
}

// A joystick SDL knows no mapping for is no game controller: only the
// player's mapping makes it one.
const char* const kStickName = "Pellox test stick";
std::string StickMapping(const char* start) {
    return VirtualPad::GuidOf(SDL_JOYSTICK_TYPE_UNKNOWN, kStickName) + "," + kStickName + ",start:" + start +
           ",dpup:b1,";
}

class GamepadMappingTest : public GamepadWindowTest {
protected:
    void SetUp() override {}  // each test writes its mapping first
    void TearDown() override { unsetenv("SDL_GAMECONTROLLERCONFIG"); }
    void WriteMappingFile(const std::string& text) {
        QFile file(mapping_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.c_str());
    }
    // The mapping file is read on a thread of its own: its mappings count
    // once it is through.
    void OpenAndWaitForTheMappings() {
        Open();
        QElapsedTimer waited;
        waited.start();
        while (!gamepads()->MappingsRead() && waited.elapsed() < 120000) QCoreApplication::processEvents();
        ASSERT_TRUE(gamepads()->MappingsRead());
    }
    // The game started with the mappings written, then the stick plugged in.
    void OpenAndPlugInTheStick() {
        OpenAndWaitForTheMappings();
        PlugIn(stick);
    }
    VirtualPad stick{SDL_JOYSTICK_TYPE_UNKNOWN, kStickName};
};

TEST_F(GamepadMappingTest, AJoystickWithoutAMappingIsNoController) {
    OpenAndPlugInTheStick();
    EXPECT_EQ(gamepads()->OpenControllers(), 0);
}

TEST_F(GamepadMappingTest, TheMappingFileInTheConfigFolderMakesAJoystickAController) {
    // SDL takes only the file's lines for its own platform.
    WriteMappingFile("# my stick\n" + StickMapping("b3") + "platform:Linux,\n");
    OpenAndPlugInTheStick();
    ASSERT_EQ(gamepads()->OpenControllers(), 1);
    Press(stick, 3);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
}

TEST_F(GamepadMappingTest, SdlsEnvironmentVariableMapsAndWinsOverTheFile) {
    WriteMappingFile(StickMapping("b3") + "platform:Linux,\n");
    setenv("SDL_GAMECONTROLLERCONFIG", StickMapping("b5").c_str(), 1);
    OpenAndPlugInTheStick();
    ASSERT_EQ(gamepads()->OpenControllers(), 1);
    Press(stick, 3);
    EXPECT_EQ(engine().CurrentState(), GameMode::Demo);
    Press(stick, 5);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
}

TEST_F(GamepadMappingTest, AnUnreadableMappingFileLeavesTheDefaults) {
    WriteMappingFile("this is no mapping\n\xff\xfe,,,\n");
    OpenAndWaitForTheMappings();
    VirtualPad pad;
    PlugIn(pad);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
}

// What stands at the mapping file's place is looked at before it is opened:
// a FIFO there once blocked the window thread in open() for good.
TEST_F(GamepadMappingTest, OnlyARegularFileOfAtMostAMebibyteIsRead) {
    QLoggingCategory::setFilterRules(QStringLiteral("pellox.gamepad.warning=true"));
    const std::filesystem::path place = QFile::encodeName(mapping_file).toStdString();
    const std::string line = StickMapping("b3") + "platform:Linux,\n";
    struct Case {
        const char* what;
        std::function<void()> put;
        const char* told;
    };
    std::unique_ptr<FifoWatch> fifo;
    const Case cases[] = {
        {"a FIFO", [&] { fifo = std::make_unique<FifoWatch>(place); }, "not a regular file (a FIFO)"},
        {"a folder", [&] { std::filesystem::create_directory(place); }, "not a regular file (a folder)"},
        {"a device", [&] { std::filesystem::create_symlink("/dev/zero", place); }, "not a regular file (a device)"},
        {"a mebibyte and a byte, the stick's mapping first",
         [&] { WriteMappingFile(line + std::string(kMaxMappingFileBytes + 1 - line.size(), '#')); },
         "1048577 bytes, more than a mapping file holds"},
    };
    for (const Case& c : cases) {
        c.put();
        ::testing::internal::CaptureStderr();
        OpenAndPlugInTheStick();
        const std::string told = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(gamepads()->OpenControllers(), 0) << c.what;
        EXPECT_NE(told.find(c.told), std::string::npos) << c.what << ": " << told;
        if (fifo) {
            EXPECT_EQ(fifo->ReadersSeen(), 0) << c.what;
        }
        stick.Unplug();
        window.reset();
        fifo.reset();
        std::error_code ec;
        std::filesystem::remove_all(place, ec);
    }
    QLoggingCategory::setFilterRules(QString());
}

// A file of many mappings goes in for seconds: a controller played meanwhile
// is read between the loader's lines, its rumble too, and a window closed
// meanwhile stops the loader instead of waiting for it.
TEST_F(GamepadMappingTest, AControllerPlaysWhileManyMappingsGoInAndClosingStopsThem) {
    std::string text;
    char guid[40];
    for (int i = 0; i < 6000; ++i) {
        std::snprintf(guid, sizeof guid, "03000000%024x", i + 1);
        text += std::string(guid) + ",P,a:b0,platform:Linux,\n";
    }
    WriteMappingFile(text);
    Open();
    VirtualPad pad;
    PlugIn(pad);
    // Each read the window makes while the loader is inside SDL comes back a
    // moment later.
    QElapsedTimer waited;
    waited.start();
    const auto wait_for = [&](const std::function<bool()>& done) {
        while (!done() && waited.elapsed() < 60000) QCoreApplication::processEvents();
    };
    wait_for([&] { return gamepads()->OpenControllers() == 1; });
    ASSERT_EQ(gamepads()->OpenControllers(), 1);
    Press(pad, SDL_CONTROLLER_BUTTON_START);
    wait_for([&] { return engine().CurrentState() == GameMode::Armed; });
    EXPECT_EQ(engine().CurrentState(), GameMode::Armed);
    gamepads()->StartRumble({1000, 2000, 100});
    wait_for([&] { return !pad.Rumbles().empty(); });
    EXPECT_FALSE(pad.Rumbles().empty());
    const bool still_loading = !gamepads()->MappingsRead();
    window.reset();  // returns once the lines in hand are in
    std::printf("the mappings were %s when the window closed\n", still_loading ? "still going in" : "all in");
}

// SDL adds mappings in a time that grows with the square of their number, on
// whatever thread calls it: they go in on the loader's own thread, and the
// window does not wait for the first of them.
TEST(MappingFileTest, TheLinesGoInOnTheLoadersOwnThreadAfterTheWindowHasGoneOn) {
    QTemporaryDir dir;
    const std::string path = QFile::encodeName(dir.filePath(QStringLiteral("gamecontrollerdb.txt"))).toStdString();
    std::string text;
    for (int i = 0; i < 200; ++i) text += "mapping " + std::to_string(i) + "\n";
    std::ofstream(path, std::ios::binary) << text;

    std::promise<void> window_went_on;
    std::shared_future<void> went_on = window_went_on.get_future().share();
    std::promise<void> ended;
    std::string added;
    std::thread::id adder;
    {
        MappingFileLoader loader(path, {[&](std::string_view lines) {
                                            went_on.wait();
                                            adder = std::this_thread::get_id();
                                            added += lines;
                                        },
                                        [](const std::string& why_not) { ADD_FAILURE() << why_not; },
                                        [&] { ended.set_value(); }});
        window_went_on.set_value();  // reached while the first lines wait for it
        ASSERT_EQ(ended.get_future().wait_for(std::chrono::seconds(60)), std::future_status::ready);
    }
    EXPECT_EQ(added, text);
    EXPECT_NE(adder, std::this_thread::get_id());
}

TEST(MappingFileTest, LineBlocksCutAfterWholeLinesAndLoseNothing) {
    struct Case {
        std::string_view text;
        std::size_t lines;
        std::vector<std::string_view> blocks;
    };
    const Case cases[] = {
        {"", 2, {}},
        {"a", 2, {"a"}},
        {"a\nb\nc\n", 2, {"a\nb\n", "c\n"}},
        {"a\nb\nc", 1, {"a\n", "b\n", "c"}},
        {"\n\n\n", 3, {"\n\n\n"}},
    };
    for (const Case& c : cases) EXPECT_EQ(LineBlocks(c.text, c.lines), c.blocks) << c.text;
}

}  // namespace
}  // namespace pellox
