// A 1024 x 600 screen at scale 2 holds 512 x 300 of the game's pixels: the
// start screen's menu and start button, and half the game window, once lay
// off it. The application is made as the game makes it, on the offscreen
// platform with that one screen, and every control must lie on the screen.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "records/settings_records_store.h"
#include "startscreen/launch.h"
#include "startscreen/screen_fit.h"
#include "startscreen/thb_form.h"
#include "tests/controls/game_window_rig.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

TEST(FittingScaleFactor, IsTheLargestAtWhichEveryWindowFitsAndNeverAbove1) {
    struct Case {
        QSizeF available;
        double factor;
    };
    const std::vector<QSizeF> windows{{615, 431}, {883, 566}};
    for (const Case& c : {Case{{1920, 1050}, 1.0}, Case{{883, 566}, 1.0}, Case{{512, 300}, 0.53},
                          Case{{960, 283}, 0.5}, Case{{100, 100}, 0.25}})
        EXPECT_DOUBLE_EQ(FittingScaleFactor(c.available, windows), c.factor) << c.available.width();
}

void ExpectInside(const QRect& area, const QWidget& widget, const char* what) {
    const QRect on_screen(widget.mapToGlobal(QPoint(0, 0)), widget.size());
    EXPECT_TRUE(area.contains(on_screen)) << what << " at " << on_screen.x() << "," << on_screen.y() << " "
                                          << on_screen.width() << "x" << on_screen.height();
}

TEST(ScaleToFit, EveryControlOfBothWindowsLiesOnTheScreen) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    // The desktop asked for 2; the game draws at the largest scale that fits.
    EXPECT_LT(screen->devicePixelRatio(), 2.0);
    EXPECT_GT(screen->devicePixelRatio(), 1.0);
    const QRect area = screen->availableGeometry();

    TempFolder folder;
    std::vector<int> played;
    std::optional<std::string> no_failure;
    StartScreenSetup setup;
    setup.search_roots = {folder.path()};
    setup.system_locale = QStringLiteral("ru_RU");
    setup.make_game_window = [&] {
        return std::make_unique<GameWindow>(testing::BuiltinPictures(),
                                            std::make_unique<testing::RecordingSound>(&played, &no_failure),
                                            std::make_unique<SettingsRecordsStore>(
                                                QString::fromStdString((folder.path() / "r.conf").string())));
    };
    THBForm form(std::move(setup));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(area.contains(form.frameGeometry())) << "the start screen with its frame";
    for (QWidget* control : form.findChildren<QWidget*>()) {
        if (!control->isVisible() || control->objectName().isEmpty()) continue;
        ExpectInside(area, *control, control->objectName().toStdString().c_str());
    }
    ExpectInside(area, form.CbSkin(), "cbSkin");
    ExpectInside(area, form.BtStart(), "btStart");

    ASSERT_TRUE(form.LongCreate());
    GameWindow& game = *form.GameWindowIfCreated();
    PrepareBuiltinGame(game);
    game.Form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&game.Form()));
    EXPECT_TRUE(area.contains(game.Form().frameGeometry())) << "the game window";
    const QRect buttons = game.Form().ButtonsBox().translated(game.Form().mapToGlobal(QPoint(0, 0)));
    EXPECT_TRUE(area.contains(buttons)) << "the case's five buttons";
    game.Form().close();
}

}  // namespace
}  // namespace pellox

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" PELLOX_TEST_SCREENS);
    qunsetenv("QT_SCALE_FACTOR");
    QTemporaryDir runtime_dir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime_dir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_dir.path()));
    // As the game makes it.
    const std::unique_ptr<QApplication> app = pellox::MakeApplicationThatFits(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
