#pragma once
// The frame timer that drives the game tick. Plain logic on a 32-bit
// millisecond clock; a driver (QtFrameTimer in qt_frame_timer.h) decides when to poll
// and tells the timer about the application's activation.

#include <cstdint>
#include <functional>

namespace pellox {

class TDXTimer;

// What the timer needs of its surroundings.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    // Milliseconds; wraps from 2^32 - 1 to 0.
    virtual std::uint32_t NowMs() = 0;
    virtual bool ApplicationActive() const = 0;
    // The timer wants PollStep calls from now on (until ReleasePolling).
    virtual void TakePolling(TDXTimer& timer) = 0;
    virtual void ReleasePolling(TDXTimer& timer) = 0;
    // The next due time may have moved (Interval changed while polling).
    virtual void DueTimeChanged(TDXTimer& /*timer*/) {}
};

class TDXTimer {
public:
    // One tick, however late it comes: the game moves one step per call.
    using TimerEvent = std::function<void(TDXTimer& sender)>;

    // Starts with Enabled true, Interval 1000, ActiveOnly true, not running.
    // While loading, Enabled is only stored; Loaded() then starts an enabled timer.
    explicit TDXTimer(TimerHost& host, bool loading = false);
    ~TDXTimer();
    TDXTimer(const TDXTimer&) = delete;
    TDXTimer& operator=(const TDXTimer&) = delete;

    void Loaded();

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    std::int32_t Interval() const { return interval_; }
    // Negative values are stored as 0. A running timer measures the new interval
    // from its last tick.
    void SetInterval(std::int32_t value);
    bool ActiveOnly() const { return active_only_; }
    void SetActiveOnly(bool value) { active_only_ = value; }

    TimerEvent OnTimer;

    // The application gained or lost the foreground: an ActiveOnly timer
    // pauses meanwhile.
    void ApplicationActivated();
    void ApplicationDeactivated();

    // One poll: ticks if the interval has passed since the last tick. Returns
    // whether it ticked. A poll from inside the tick handler does nothing.
    bool PollStep();

    bool Running() const { return running_; }
    // Running and not paused by inactivity.
    bool Polling() const { return polling_; }
    bool InTick() const { return in_tick_; }
    std::uint32_t LastTickTime() const { return last_tick_time_; }
    // Milliseconds from now until the next tick is due (0 when due already).
    std::uint32_t MillisecondsUntilDue();

private:
    void Start();
    void Stop();
    void Resume();
    void Suspend();

    TimerHost& host_;
    bool loading_;
    bool active_only_ = true;
    bool enabled_ = true;
    std::int32_t interval_ = 0;
    bool running_ = false;
    bool polling_ = false;
    bool in_tick_ = false;
    std::uint32_t last_tick_time_ = 0;
};

}  // namespace pellox
