// Both windows open on the screen under the pointer, on a desktop of four
// screens (tests/startscreen/screens.json): the primary on the right of
// another, a 1024 x 600 one and a 1280 x 800 one at scale 2 below them. The
// offscreen platform makes the screens in the order of their names, and the
// first one made is the primary.
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "startscreen/thb_form.h"
#include "tests/controls/game_window_rig.h"

namespace pellox {
namespace {

using testing::BuiltinPictures;
using testing::RecordingSound;

QScreen* ScreenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name) return screen;
    return nullptr;
}

struct Row {
    const char* what;
    QPoint pointer;
    const char* screen;
    std::optional<QPoint> start_screen;  // the frame's corner where it is exact
    QPoint game_window;
};

const Row kRows[] = {
    {"pointer on the left screen", {100, 100}, "2: left", QPoint(169, 110), {194, 146}},
    {"pointer on the primary, right of the left one", {2500, 900}, "1: primary, on the right", QPoint(1920 + 169, 110),
     {1920 + 194, 146}},
    {"pointer on no screen: the primary", {5000, 5000}, "1: primary, on the right", QPoint(1920 + 169, 110),
     {1920 + 194, 146}},
    {"pointer on the 1024 x 600 screen", {1000, 1679}, "3: 1024 x 600", QPoint(169, 1080 + 110),
     {1024 - 883, 1080 + 600 - 566}},
    // The start screen is taller than 400 with its title bar: from the top.
    // The game window is larger both ways: from the top, moved left until its
    // buttons' right edge (827) is the screen's.
    {"pointer on the 1280 x 800 screen at scale 2", {1030, 1090}, "4: 1280 x 800 at scale 2", std::nullopt,
     {1024 + 640 - 827, 1080}},
};

// The frame on the screen's available area: its corner always, the whole
// frame in each direction where it fits.
void ExpectOnArea(const QRect& frame, const QScreen& screen, const char* what) {
    const QRect area = screen.availableGeometry();
    EXPECT_TRUE(area.contains(frame.topLeft())) << what;
    if (frame.width() <= area.width()) { EXPECT_LE(frame.right(), area.right()) << what; }
    if (frame.height() <= area.height()) { EXPECT_LE(frame.bottom(), area.bottom()) << what; }
}

TEST(ScreenPlacement, TheDesktopIsLaidOutAsTheTableSays) {
    ASSERT_EQ(QGuiApplication::screens().size(), 4);
    EXPECT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(1920, 0, 1920, 1080));
    QScreen* scaled = ScreenNamed(QStringLiteral("4: 1280 x 800 at scale 2"));
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->devicePixelRatio(), 2.0);
}

TEST(ScreenPlacement, TheStartScreenOpensOnTheScreenUnderThePointer) {
    for (const Row& row : kRows) {
        QCursor::setPos(row.pointer);
        StartScreenSetup setup;
        setup.make_game_window = [] { return std::unique_ptr<GameWindow>(); };
        THBForm form(std::move(setup));
        form.show();
        QScreen* expected = ScreenNamed(QString::fromLatin1(row.screen));
        ASSERT_NE(expected, nullptr) << row.what;
        EXPECT_EQ(form.screen(), expected) << row.what;
        const QRect frame = form.frameGeometry();
        if (row.start_screen) { EXPECT_EQ(frame.topLeft(), *row.start_screen) << row.what; }
        ExpectOnArea(frame, *expected, row.what);
        // The start button is on the screen, if only in part.
        const QRect start(form.BtStart().mapToGlobal(QPoint(0, 0)), form.BtStart().size());
        EXPECT_TRUE(expected->availableGeometry().intersects(start)) << row.what;
    }
}

TEST(ScreenPlacement, TheLaunchOpensTheGameWindowOnTheScreenUnderThePointer) {
    QTemporaryDir records;
    std::vector<int> played;
    std::optional<std::string> no_failure;
    for (const Row& row : kRows) {
        QCursor::setPos(row.pointer);
        GameWindow window(BuiltinPictures(), std::make_unique<RecordingSound>(&played, &no_failure),
                          std::make_unique<SettingsRecordsStore>(records.filePath(QStringLiteral("r.conf"))));
        PrepareBuiltinGame(window);
        window.FrameTimer().SetEnabled(false);
        window.Form().show();
        QScreen* expected = ScreenNamed(QString::fromLatin1(row.screen));
        ASSERT_NE(expected, nullptr) << row.what;
        EXPECT_EQ(window.Form().screen(), expected) << row.what;
        const QRect frame = window.Form().frameGeometry();
        EXPECT_EQ(frame, QRect(row.game_window, QSize(883, 566))) << row.what;
        // Every button can be clicked.
        const QRect buttons = window.Form().ButtonsBox().translated(frame.topLeft());
        EXPECT_TRUE(expected->availableGeometry().contains(buttons)) << row.what;
        window.Form().close();
    }
}

}  // namespace
}  // namespace pellox
