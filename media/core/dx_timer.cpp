#include "media/core/dx_timer.h"

#include <algorithm>

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
    if (polling_) host_.DueTimeChanged(*this);
}

void TDXTimer::ApplicationActivated() {
    if (running_ && active_only_) Resume();
}

void TDXTimer::ApplicationDeactivated() {
    if (running_ && active_only_) Suspend();
}

bool TDXTimer::PollStep() {
    if (!polling_ || in_tick_) return false;
    const std::uint32_t now = host_.NowMs();
    const std::uint32_t elapsed = now - last_tick_time_;
    if (elapsed < static_cast<std::uint32_t>(interval_)) return false;
    // The next tick is due one interval after this moment: lateness is not
    // carried over, and a late tick is one tick, not a burst.
    last_tick_time_ = now;
    in_tick_ = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{in_tick_};
    if (OnTimer) OnTimer(*this);
    return true;
}

std::uint32_t TDXTimer::MillisecondsUntilDue() {
    const std::uint32_t elapsed = host_.NowMs() - last_tick_time_;
    const auto interval = static_cast<std::uint32_t>(interval_);
    return elapsed >= interval ? 0 : interval - elapsed;
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
    last_tick_time_ = host_.NowMs();
    polling_ = true;
    host_.TakePolling(*this);
}

void TDXTimer::Suspend() {
    if (!polling_) return;
    polling_ = false;
    host_.ReleasePolling(*this);
}

}  // namespace pellox
