// The game window behind the start screen: made once, in the start screen's
// language, made afresh after a launch that failed, and never thrown through.
#include <stdexcept>

#include "skin/skin_probe.h"
#include "startscreen/launch_session.h"
#include "tests/controls/game_window_rig.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

class LaunchSessionTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::vector<int> played;
    std::optional<std::string> no_failure;
    int made = 0;

    LaunchSession::MakeGameWindow Maker() {
        return [this] {
            ++made;
            return std::make_unique<GameWindow>(
                testing::BuiltinPictures(), std::make_unique<testing::RecordingSound>(&played, &no_failure),
                std::make_unique<SettingsRecordsStore>(QString::fromStdString((folder.path() / "r.conf").string())));
        };
    }
};

// A failed skin once left its pictures in the window that the next launch used.
TEST_F(LaunchSessionTest, TheGameWindowIsMadeOnceAndAfreshAfterAFailedLaunch) {
    LaunchSession session(Maker());
    EXPECT_EQ(session.Window(), nullptr);
    ASSERT_TRUE(session.EnsureGameWindow(InterfaceLanguage::English));
    GameWindow* first = session.Window();
    ASSERT_TRUE(session.EnsureGameWindow(InterfaceLanguage::Russian));
    EXPECT_EQ(session.Window(), first);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(first->Texts().Language, InterfaceLanguage::English);
    session.SetLanguage(InterfaceLanguage::Russian);
    EXPECT_EQ(first->Texts().Language, InterfaceLanguage::Russian);

    const std::filesystem::path broken = folder.Write("broken/broken.ini", "[SETTINGS]\nver=1.6\ntitle=Broken\n");
    SkinMenuModel menu;
    menu.CommandLineLooked(ProbeSkin(broken), broken);
    ::testing::internal::CaptureStderr();
    const LaunchOutcome outcome = session.Launch(menu, InterfaceLanguage::Russian);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.failure.skin.filename(), "broken.ini");
    EXPECT_FALSE(outcome.failure.entries.empty());
    EXPECT_EQ(session.Window(), nullptr);

    ASSERT_TRUE(session.EnsureGameWindow(InterfaceLanguage::English));
    EXPECT_EQ(made, 2);
    EXPECT_EQ(session.Window()->Texts().Language, InterfaceLanguage::English);
}

TEST_F(LaunchSessionTest, AGameWindowThatCannotBeMadeIsToldNotThrown) {
    const struct {
        const char* what;
        LaunchSession::MakeGameWindow make;
    } cases[] = {
        {"no window", [] { return std::unique_ptr<GameWindow>(); }},
        {"a maker that throws",
         []() -> std::unique_ptr<GameWindow> { throw std::runtime_error("The sound output has no mixer to play on"); }},
        {"no maker", nullptr},
    };
    for (const auto& c : cases) {
        LaunchSession session(c.make);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(session.EnsureGameWindow(InterfaceLanguage::Russian)) << c.what;
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(session.Window(), nullptr) << c.what;
        session.SetLanguage(InterfaceLanguage::English);  // nothing to tell
    }
}

}  // namespace
}  // namespace pellox
