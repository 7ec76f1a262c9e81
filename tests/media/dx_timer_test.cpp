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

struct Tick {
    std::uint32_t at;
    std::int32_t lag;
};

class DXTimerTest : public ::testing::Test {
protected:
    FakeHost host;
    TDXTimer timer{host};
    std::vector<Tick> ticks;

    void SetUp() override {
        timer.OnTimer = [this](TDXTimer&, std::int32_t lag) { ticks.push_back({host.now, lag}); };
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
    EXPECT_EQ(ticks[0].at, 265u);  // measured from the start, not from the interval change
    EXPECT_EQ(ticks[1].at, 530u);
    EXPECT_EQ(ticks[2].at, 795u);
    EXPECT_EQ(ticks[0].lag, 1);
}

TEST_F(DXTimerTest, LateTickReportsWholeIntervalsAndDoesNotCarryLatenessOver) {
    Enable(100);
    host.now = 360;  // 3.6 intervals late
    timer.PollStep();
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].lag, 3);
    RunUntil(470);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[1].at, 460u);
}

TEST_F(DXTimerTest, ZeroIntervalTicksOnEveryPollWithLagInMilliseconds) {
    Enable(0);
    timer.PollStep();  // no time passed: still a tick, lag at least 1
    host.now += 7;
    timer.PollStep();
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[0].lag, 1);
    EXPECT_EQ(ticks[1].lag, 7);
}

TEST_F(DXTimerTest, NegativeIntervalIsStoredAsZeroWithDivisorOne) {
    Enable(-40);
    EXPECT_EQ(timer.Interval(), 0);
    host.now += 5;
    timer.PollStep();
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].lag, 5);
}

TEST_F(DXTimerTest, SettingTheSameValueResetsNothing) {
    Enable(100);
    host.now = 60;
    timer.SetEnabled(true);
    const int changes = host.due_changes;
    timer.SetInterval(100);
    EXPECT_EQ(host.due_changes, changes);
    RunUntil(100);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].at, 100u);
}

TEST_F(DXTimerTest, ShorteningTheIntervalMovesTheNextTickUp) {
    Enable(400);
    host.now = 150;
    timer.SetInterval(100);  // already overdue: the next poll ticks, lag by the new divisor
    EXPECT_GT(host.due_changes, 0);
    timer.PollStep();
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].lag, 1);
    timer.SetInterval(400);
    host.now = 300;
    timer.SetInterval(50);
    timer.PollStep();
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[1].lag, 3);  // 150 ms / 50
}

TEST_F(DXTimerTest, InactiveApplicationPausesAndALongPauseIsNoLag) {
    std::vector<const char*> events;
    timer.OnActivate = [&](TDXTimer&) { events.push_back("activate"); };
    timer.OnDeactivate = [&](TDXTimer&) { events.push_back("deactivate"); };
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
    host.now = 600'000;  // ten minutes away
    timer.ApplicationActivated();
    RunUntil(600'250);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[1].at, 600'250u);
    EXPECT_EQ(ticks[1].lag, 1);
    EXPECT_EQ(events, (std::vector<const char*>{"activate", "deactivate", "activate"}));
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
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_EQ(static_cast<std::uint32_t>(ticks[i].at - ticks[i - 1].at), 100u);
        EXPECT_EQ(ticks[i].lag, 1);
    }
    EXPECT_EQ(ticks[1].at, 49u);
}

TEST_F(DXTimerTest, TickRateCountsTicksPerMeasuredSecond) {
    Enable(50);
    RunUntil(2000);
    EXPECT_EQ(timer.TickRate(), 20);
}

TEST_F(DXTimerTest, PollFromInsideTheTickDoesNotTickAgain) {
    Enable(0);
    int depth = 0, max_depth = 0, calls = 0;
    timer.OnTimer = [&](TDXTimer& t, std::int32_t) {
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
    timer.OnTimer = [&](TDXTimer& t, std::int32_t) {
        ticks.push_back({host.now, 0});
        t.SetEnabled(false);
        t.SetEnabled(true);  // restarts from this moment
    };
    RunUntil(25);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[1].at, 20u);
    EXPECT_TRUE(timer.Polling());
    timer.Tag();
    timer.SetTag(330);
    EXPECT_EQ(timer.Tag(), 330);
}

}  // namespace
}  // namespace pellox
