#include "media/window_timer.h"

#include <limits>

#include "media/core/media_errors.h"

namespace pellox {

TTimer::TTimer(QObject* parent) : QObject(parent) {
    // A coarse timer may fire a little early; a period restarted by a change
    // must last the full period.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TTimer::Fire);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(std::uint32_t value) {
    if (value == interval_) return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(Event handler) {
    on_timer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::SetSuspended(bool suspended) {
    if (suspended == suspended_) return;
    suspended_ = suspended;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    timer_.stop();
    if (interval_ == 0 || !enabled_ || !on_timer_ || suspended_) return;
    if (interval_ > static_cast<std::uint32_t>(std::numeric_limits<int>::max())) throw EOutOfResources();
    timer_.start(static_cast<int>(interval_));
    if (!timer_.isActive()) throw EOutOfResources();
}

void TTimer::Fire() {
    if (!on_timer_) return;
    // The handler may replace itself; keep the running one alive.
    Event handler = on_timer_;
    try {
        handler(*this);
    } catch (const std::exception& error) {
        report_(error);
    }
}

}  // namespace pellox
