#include "media/core/dx_timer.h"

#include <algorithm>
#include <cmath>

namespace pellox {

TDXTimer::TDXTimer(TimerHost& host, bool loading) : host_(host), loading_(loading) {
    interval_ = -1;  // so that the setter below stores the default
    SetInterval(1000);
}

TDXTimer::~TDXTimer() { Stop(); }

void TDXTimer::Loaded() {
    loading_ = false;
    if (enabled_) Start();
}

void TDXTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (loading_) return;
    if (enabled_)
        Start();
    else
        Stop();
}

void TDXTimer::SetInterval(std::int32_t value) {
    if (value == interval_) return;
    interval_ = std::max(value, 0);
    lag_divisor_ = std::max(value, 1);
    if (polling_) host_.DueTimeChanged(*this);
}

void TDXTimer::ApplicationActivated() {
    DoActivate();
    if (running_ && active_only_) Resume();
}

void TDXTimer::ApplicationDeactivated() {
    DoDeactivate();
    if (running_ && active_only_) Suspend();
}

bool TDXTimer::PollStep() {
    if (!polling_ || in_tick_) return false;
    const std::uint32_t now = host_.NowMs();
    const std::uint32_t elapsed = now - last_tick_time_;
    if (elapsed < static_cast<std::uint32_t>(interval_)) return false;
    // The next tick is due one interval after this moment: lateness is not carried over.
    last_tick_time_ = now;
    std::int32_t lag_count = static_cast<std::int32_t>(elapsed / static_cast<std::uint32_t>(lag_divisor_));
    if (lag_count < 1) lag_count = 1;

    ++ticks_in_window_;
    const std::int32_t window = std::max(static_cast<std::int32_t>(now - rate_window_start_), 1);
    if (window >= 1000) {
        tick_rate_ = static_cast<std::int32_t>(std::lround(ticks_in_window_ * 1000.0 / window));
        ticks_in_window_ = 0;
        rate_window_start_ = now;
    }

    in_tick_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{in_tick_};
    DoTimer(lag_count);
    return true;
}

std::uint32_t TDXTimer::MillisecondsUntilDue() {
    const std::uint32_t elapsed = host_.NowMs() - last_tick_time_;
    const auto interval = static_cast<std::uint32_t>(interval_);
    return elapsed >= interval ? 0 : interval - elapsed;
}

void TDXTimer::DoActivate() {
    if (OnActivate) OnActivate(*this);
}

void TDXTimer::DoDeactivate() {
    if (OnDeactivate) OnDeactivate(*this);
}

void TDXTimer::DoTimer(std::int32_t lag_count) {
    if (OnTimer) OnTimer(*this, lag_count);
}

void TDXTimer::Start() {
    Stop();
    if (!active_only_ || host_.ApplicationActive()) Resume();
    running_ = true;
}

void TDXTimer::Stop() {
    if (!running_) return;
    Suspend();
    running_ = false;
}

void TDXTimer::Resume() {
    // A pause never shows up as lag: the clock starts afresh.
    last_tick_time_ = rate_window_start_ = host_.NowMs();
    polling_ = true;
    host_.TakePolling(*this);
}

void TDXTimer::Suspend() {
    if (!polling_) return;
    polling_ = false;
    host_.ReleasePolling(*this);
}

}  // namespace pellox
