// The frame timer's logic on a fake millisecond clock.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/core/dx_timer.h"

namespace pellox {
namespace {

class FakeHost : public TimerHost {
public:
    std::uint32_t now = 0;
    bool active = true;
    bool polling = false;
    int due_changes = 0;

    std::uint32_t NowMs() override { return now; }
    bool ApplicationActive() const override { return active; }
    void TakePolling(TDXTimer&) override { polling = true; }
    void ReleasePolling(TDXTimer&) override { polling = false; }
    void DueTimeChanged(TDXTimer&) override { ++due_changes; }
};

class DXTimerTest : public ::testing::Test {
protected:
    FakeHost host;
    TDXTimer timer{host};
    std::vector<std::uint32_t> ticks;  // when each came

    void SetUp() override {
        timer.OnTimer = [this](TDXTimer&) { ticks.push_back(host.now); };
    }
    // Polls once per millisecond up to and including `until`.
    void RunUntil(std::uint32_t until) {
        while (host.now != until) {
            ++host.now;
            timer.PollStep();
        }
    }
    void Enable(std::int32_t interval) {
        timer.SetEnabled(false);
        timer.SetInterval(interval);
        timer.SetEnabled(true);
    }
};

TEST_F(DXTimerTest, StartsWithItsDefaultsAndTicksOneIntervalAfterEnabling) {
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(timer.ActiveOnly());
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_FALSE(timer.Running());  // made at run time: started by Loaded or a change of Enabled
    timer.Loaded();
    EXPECT_TRUE(timer.Polling());
    host.now = 100;
    timer.SetInterval(265);
    RunUntil(1000);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{265, 530, 795}));  // measured from the start, not the change
}

TEST_F(DXTimerTest, ALateTickIsOneTickAndLatenessIsNotCarriedOver) {
    Enable(100);
    host.now = 360;  // 3.6 intervals late
    timer.PollStep();
    timer.PollStep();  // no burst to catch up
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{360}));
    RunUntil(470);
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{360, 460}));
}

TEST_F(DXTimerTest, ZeroOrNegativeIntervalTicksOnEveryPoll) {
    for (const std::int32_t interval : {0, -40}) {
        ticks.clear();
        Enable(interval);
        EXPECT_EQ(timer.Interval(), 0) << interval;
        timer.PollStep();  // no time passed: still a tick
        timer.PollStep();
        host.now += 7;
        timer.PollStep();
        EXPECT_EQ(ticks.size(), 3u) << interval;
    }
}

TEST_F(DXTimerTest, SettingTheSameValueResetsNothing) {
    Enable(100);
    host.now = 60;
    timer.SetEnabled(true);
    const int changes = host.due_changes;
    timer.SetInterval(100);
    EXPECT_EQ(host.due_changes, changes);
    RunUntil(100);
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{100}));
}

TEST_F(DXTimerTest, ShorteningTheIntervalMovesTheNextTickUp) {
    Enable(400);
    host.now = 150;
    timer.SetInterval(100);  // already overdue: the next poll ticks
    EXPECT_GT(host.due_changes, 0);
    timer.PollStep();
    timer.SetInterval(400);
    host.now = 300;
    timer.PollStep();  // 150 ms of 400: not yet
    timer.SetInterval(50);
    timer.PollStep();
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{150, 300}));
}

TEST_F(DXTimerTest, InactiveApplicationPausesAndALongPauseIsNoLag) {
    host.active = false;
    Enable(250);
    EXPECT_TRUE(timer.Running());
    EXPECT_FALSE(timer.Polling());
    host.now = 10'000;
    timer.PollStep();
    EXPECT_TRUE(ticks.empty());

    host.active = true;
    timer.ApplicationActivated();
    RunUntil(10'249);
    EXPECT_TRUE(ticks.empty());
    RunUntil(10'250);
    ASSERT_EQ(ticks.size(), 1u);

    timer.ApplicationDeactivated();
    EXPECT_FALSE(host.polling);
    host.now = 600'000;  // ten minutes away
    timer.PollStep();
    timer.ApplicationActivated();
    RunUntil(600'250);
    // One interval after coming back, and only one tick: no burst for the time away.
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{10'250, 600'250}));
}

TEST_F(DXTimerTest, WithoutActiveOnlyItTicksWhileInactive) {
    timer.SetActiveOnly(false);
    host.active = false;
    Enable(10);
    RunUntil(30);
    EXPECT_EQ(ticks.size(), 3u);
    timer.ApplicationDeactivated();
    RunUntil(40);
    EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(DXTimerTest, EnabledDuringLoadingIsOnlyStored) {
    TDXTimer loading(host, /*loading=*/true);
    loading.SetEnabled(false);
    loading.SetEnabled(true);
    EXPECT_FALSE(loading.Running());
    loading.Loaded();
    EXPECT_TRUE(loading.Running());
    loading.SetEnabled(false);
    EXPECT_FALSE(host.polling);
}

TEST_F(DXTimerTest, ClockWrapNeitherStopsNorBursts) {
    host.now = 0xFFFFFFFFu - 150;
    Enable(100);
    RunUntil(0xFFFFFFFFu);
    RunUntil(349);  // through the wrap
    ASSERT_EQ(ticks.size(), 5u);
    for (std::size_t i = 1; i < ticks.size(); ++i) EXPECT_EQ(static_cast<std::uint32_t>(ticks[i] - ticks[i - 1]), 100u);
    EXPECT_EQ(ticks[1], 49u);
}

TEST_F(DXTimerTest, PollFromInsideTheTickDoesNotTickAgain) {
    Enable(0);
    int depth = 0, max_depth = 0, calls = 0;
    timer.OnTimer = [&](TDXTimer& t) {
        ++calls;
        max_depth = std::max(max_depth, ++depth);
        host.now += 5;
        EXPECT_FALSE(t.PollStep());
        --depth;
    };
    timer.PollStep();
    timer.PollStep();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(max_depth, 1);
}

TEST_F(DXTimerTest, HandlerMayStopAndRestartTheTimer) {
    Enable(10);
    timer.OnTimer = [&](TDXTimer& t) {
        ticks.push_back(host.now);
        t.SetEnabled(false);
        t.SetEnabled(true);  // restarts from this moment
    };
    RunUntil(25);
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{10, 20}));
    EXPECT_TRUE(timer.Polling());
}

}  // namespace
}  // namespace pellox
