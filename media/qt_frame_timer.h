#pragma once
// Drives a TDXTimer from the Qt event loop without keeping a core busy: the
// loop sleeps until shortly before the next due tick (a single-shot precise
// timer re-armed to the absolute due time), then a short precise sleep reaches
// the due moment. Follows the application's activation for ActiveOnly.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>

#include "media/core/dx_timer.h"
#include "media/exception_report.h"

namespace pellox {

class QtFrameTimer final : public QObject, private TimerHost {
    Q_OBJECT
public:
    using SteadyClock = std::chrono::steady_clock;

    // clock_start_ms: what the millisecond clock reads now (tests start it near
    // its wrap-around).
    explicit QtFrameTimer(QObject* parent = nullptr, std::uint32_t clock_start_ms = 0);
    ~QtFrameTimer() override;

    // Made at run time: Enabled reads true but the timer runs only once Enabled
    // is changed to true (or Loaded() is called with Enabled true).
    TDXTimer& Timer() { return timer_; }
    void SetExceptionReporter(ExceptionReporter reporter) { report_ = std::move(reporter); }

    // Also reached through QGuiApplication::applicationStateChanged.
    void SetApplicationState(Qt::ApplicationState state);

private:
    std::uint32_t NowMs() override;
    bool ApplicationActive() const override { return active_; }
    void TakePolling(TDXTimer& timer) override;
    void ReleasePolling(TDXTimer& timer) override;
    void DueTimeChanged(TDXTimer& timer) override;

    void Arm();
    void Wake();
    SteadyClock::duration SpinWindow() const;

    SteadyClock::time_point origin_;
    std::uint32_t clock_start_ms_;
    SteadyClock::time_point last_read_{};
    SteadyClock::time_point tick_read_{};
    bool capture_tick_read_ = false;
    bool resumed_in_tick_ = false;
    // When the last tick (or resume) read the clock: the next tick is due one
    // interval after it.
    SteadyClock::time_point anchor_{};
    // How late sleeps have woken lately.
    SteadyClock::duration sleep_overshoot_{};
    bool active_ = false;
    QTimer wake_;
    ExceptionReporter report_ = ReportToLog;
    TDXTimer timer_;
};

}  // namespace pellox
