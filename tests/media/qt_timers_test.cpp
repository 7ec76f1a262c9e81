// The frame timer and the side timer in a real Qt event loop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QWidget>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "media/core/media_errors.h"
#include "media/qt_frame_timer.h"
#include "media/timer_ports.h"
#include "media/window_timer.h"
#include "tests/media/expect_error.h"

namespace pellox {
namespace {

using Clock = std::chrono::steady_clock;

void RunEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double MsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

class QtFrameTimerTest : public ::testing::Test {
protected:
    QtFrameTimer driver;
    TDXTimer& timer = driver.Timer();
    std::vector<Clock::time_point> ticks;

    void SetUp() override {
        driver.SetApplicationState(Qt::ApplicationActive);
        timer.SetEnabled(false);
        timer.OnTimer = [this](TDXTimer&) { ticks.push_back(Clock::now()); };
    }
};

TEST_F(QtFrameTimerTest, TicksThroughTheEventLoopNeverEarly) {
    FrameTimerPort port(timer);
    port.SetInterval(20);
    const auto enabled_at = Clock::now();
    port.SetEnabled(true);
    EXPECT_TRUE(port.Enabled());
    RunEventLoopFor(230);
    port.SetEnabled(false);
    ASSERT_GE(ticks.size(), 3u);
    EXPECT_GE(MsBetween(enabled_at, ticks[0]), 20.0);
    for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_GE(MsBetween(ticks[i - 1], ticks[i]), 20.0) << i;
    const auto count = ticks.size();
    RunEventLoopFor(60);
    EXPECT_EQ(ticks.size(), count);  // disabled: no more ticks
}

TEST_F(QtFrameTimerTest, QueuedEventsRunInsideATickNeverTickAgain) {
    int depth = 0, max_depth = 0, posted_ran = 0;
    timer.SetInterval(0);  // due again at once: the most tempting case
    timer.OnTimer = [&](TDXTimer&) {
        max_depth = std::max(max_depth, ++depth);
        ticks.push_back(Clock::now());
        QTimer::singleShot(0, [&] { ++posted_ran; });
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        QCoreApplication::processEvents();  // as the moving tick does
        --depth;
    };
    timer.SetEnabled(true);
    RunEventLoopFor(80);
    timer.SetEnabled(false);
    EXPECT_GE(ticks.size(), 5u);
    EXPECT_EQ(max_depth, 1);
    EXPECT_GT(posted_ran, 0);
}

TEST_F(QtFrameTimerTest, PausesWhileInactiveAndResumesOneIntervalAfterActivation) {
    timer.SetInterval(30);
    driver.SetApplicationState(Qt::ApplicationInactive);
    timer.SetEnabled(true);
    RunEventLoopFor(100);
    EXPECT_TRUE(ticks.empty());
    const auto activated_at = Clock::now();
    driver.SetApplicationState(Qt::ApplicationActive);
    RunEventLoopFor(50);
    ASSERT_GE(ticks.size(), 1u);
    EXPECT_GE(MsBetween(activated_at, ticks[0]), 30.0);
    driver.SetApplicationState(Qt::ApplicationInactive);
    const auto count = ticks.size();
    RunEventLoopFor(70);
    EXPECT_EQ(ticks.size(), count);
}

// Deactivation comes through the same slot as SetApplicationState above; the
// offscreen platform has no way to take the activation away again.
TEST(QtFrameTimerActivation, StartsTickingWhenTheApplicationBecomesActive) {
    if (QGuiApplication::applicationState() == Qt::ApplicationActive) GTEST_SKIP() << "already active";
    QtFrameTimer driver;
    TDXTimer& timer = driver.Timer();
    int ticks = 0;
    timer.OnTimer = [&](TDXTimer&) { ++ticks; };
    timer.SetInterval(10);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    RunEventLoopFor(50);
    EXPECT_EQ(ticks, 0);

    QWidget window;  // showing and activating a window makes the application active
    window.show();
    window.activateWindow();
    RunEventLoopFor(80);
    ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
    EXPECT_GT(ticks, 0);
}

TEST_F(QtFrameTimerTest, AnEscapingErrorIsReportedAndTickingGoesOn) {
    std::vector<std::string> reported;
    driver.SetExceptionReporter([&](const std::exception& e) { reported.push_back(e.what()); });
    timer.SetInterval(10);
    timer.OnTimer = [&](TDXTimer&) {
        ticks.push_back(Clock::now());
        throw std::runtime_error("tick failed");
    };
    timer.SetEnabled(true);
    RunEventLoopFor(60);
    timer.SetEnabled(false);
    EXPECT_GE(ticks.size(), 2u);
    ASSERT_EQ(reported.size(), ticks.size());
    EXPECT_EQ(reported[0], "tick failed");
}

TEST_F(QtFrameTimerTest, ClockWrapDoesNotStopTheTimer) {
    QtFrameTimer near_wrap(nullptr, 0xFFFFFFFFu - 40);
    TDXTimer& t = near_wrap.Timer();
    near_wrap.SetApplicationState(Qt::ApplicationActive);
    t.SetInterval(15);
    int count = 0;
    t.OnTimer = [&](TDXTimer&) { ++count; };
    const auto start = Clock::now();
    t.Loaded();
    RunEventLoopFor(150);
    EXPECT_GE(count, 3);
    // No burst of ticks at the wrap: never more than one per interval.
    EXPECT_LE(count, static_cast<int>(MsBetween(start, Clock::now()) / 15));
}

TEST(SideTimer, TicksAndRestartsItsPeriodOnEveryChange) {
    TTimer timer;
    SideTimerPort port(timer);
    EXPECT_TRUE(port.Enabled());
    EXPECT_FALSE(timer.Armed());  // no handler yet
    std::vector<Clock::time_point> ticks;
    timer.SetInterval(40);
    timer.SetOnTimer([&](TTimer&) { ticks.push_back(Clock::now()); });
    EXPECT_TRUE(timer.Armed());
    RunEventLoopFor(100);
    EXPECT_GE(ticks.size(), 2u);

    RunEventLoopFor(25);
    const auto changed_at = Clock::now();
    timer.SetInterval(50);  // the next tick one full period after the change
    ticks.clear();
    RunEventLoopFor(120);
    ASSERT_GE(ticks.size(), 1u);
    EXPECT_GE(MsBetween(changed_at, ticks[0]), 50.0);

    port.SetEnabled(false);
    EXPECT_FALSE(timer.Armed());
    ticks.clear();
    RunEventLoopFor(80);
    EXPECT_TRUE(ticks.empty());
    timer.SetInterval(0);
    port.SetEnabled(true);
    EXPECT_FALSE(timer.Armed());  // period 0: never armed
}

TEST(SideTimer, AnEscapingErrorIsReportedAndTickingGoesOn) {
    TTimer timer;
    int reported = 0, calls = 0;
    timer.SetExceptionReporter([&](const std::exception&) { ++reported; });
    timer.SetInterval(10);
    timer.SetOnTimer([&](TTimer&) {
        ++calls;
        throw std::runtime_error("side tick failed");
    });
    RunEventLoopFor(55);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(reported, calls);
}

TEST(SideTimer, RefusedPeriodIsAnError) {
    TTimer timer;
    timer.SetOnTimer([](TTimer&) {});
    testing::ExpectError<EOutOfResources>([&] { timer.SetInterval(0x90000000u); }, "Not enough timers available");
    EXPECT_FALSE(timer.Armed());
}

}  // namespace
}  // namespace pellox
