#include "media/qt_frame_timer.h"

#include <QGuiApplication>
#include <algorithm>
#include <thread>

namespace pellox {
namespace {

using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// The event loop wakes this long before the due time, and before the spin
// below begins (Qt's precise timers fire up to about 2.3 ms late here). The rest
// is slept precisely, and the very end is spun: a sleeping thread may wake late
// when the machine is busy.
constexpr auto kWakeAhead = milliseconds(3);
// The spin lasts about as long as recent sleeps overshot, within bounds that
// keep the CPU use small: from 4 to 35 per mille of the interval (at least
// 0.1 ms, at most 2 ms). A thread that has slept long wakes slower.
constexpr auto kMinSpin = microseconds(100);
constexpr auto kMaxSpin = milliseconds(2);
constexpr int kMinSpinPerMille = 4;
constexpr int kMaxSpinPerMille = 35;
// Ticks come this much after the due moment, so that the clock read inside the
// tick and the handler's own view of time never put a tick before its due time.
constexpr auto kDueMargin = microseconds(20);

}  // namespace

QtFrameTimer::QtFrameTimer(QObject* parent, std::uint32_t clock_start_ms)
    : QObject(parent),
      origin_(SteadyClock::now()),
      clock_start_ms_(clock_start_ms),
      timer_(*this) {
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, &QtFrameTimer::Wake);
    if (qGuiApp) {
        active_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                &QtFrameTimer::SetApplicationState);
    }
}

QtFrameTimer::~QtFrameTimer() { timer_.SetEnabled(false); }

void QtFrameTimer::SetApplicationState(Qt::ApplicationState state) {
    const bool active = state == Qt::ApplicationActive;
    if (active == active_) return;
    active_ = active;
    if (active)
        timer_.ApplicationActivated();
    else
        timer_.ApplicationDeactivated();
}

std::uint32_t QtFrameTimer::NowMs() {
    last_read_ = SteadyClock::now();
    if (capture_tick_read_) {
        tick_read_ = last_read_;
        capture_tick_read_ = false;
    }
    const auto ms = duration_cast<milliseconds>(last_read_ - origin_).count();
    return clock_start_ms_ + static_cast<std::uint32_t>(ms);
}

void QtFrameTimer::TakePolling(TDXTimer&) {
    // The timer has just read the clock to restart its interval.
    anchor_ = last_read_;
    if (timer_.InTick()) {
        resumed_in_tick_ = true;
        return;  // armed when the tick returns: a tick never runs inside itself
    }
    Arm();
}

void QtFrameTimer::ReleasePolling(TDXTimer&) { wake_.stop(); }

void QtFrameTimer::DueTimeChanged(TDXTimer&) {
    if (!timer_.InTick()) Arm();
}

QtFrameTimer::SteadyClock::duration QtFrameTimer::SpinWindow() const {
    const SteadyClock::duration interval = milliseconds(timer_.Interval());
    const SteadyClock::duration low = std::max<SteadyClock::duration>(kMinSpin, interval * kMinSpinPerMille / 1000);
    const SteadyClock::duration high = std::clamp<SteadyClock::duration>(interval * kMaxSpinPerMille / 1000, low, kMaxSpin);
    return std::clamp<SteadyClock::duration>(sleep_overshoot_ + sleep_overshoot_ / 2, std::min(low, high), high);
}

void QtFrameTimer::Arm() {
    const auto due = anchor_ + milliseconds(timer_.Interval()) + kDueMargin;
    const auto wake_at = due - SpinWindow() - kWakeAhead;
    const auto now = SteadyClock::now();
    const auto delay = wake_at > now ? duration_cast<milliseconds>(wake_at - now).count() : 0;
    wake_.start(static_cast<int>(std::min<long long>(delay, 0x7fffffff)));
}

void QtFrameTimer::Wake() {
    if (!timer_.Polling()) return;
    const auto due = anchor_ + milliseconds(timer_.Interval()) + kDueMargin;
    const auto now = SteadyClock::now();
    if (due > now) {
        const auto spin = SpinWindow();
        if (due - now > spin + kWakeAhead + milliseconds(1)) {
            Arm();  // woke far too early
            return;
        }
        const auto sleep_to = due - spin;
        if (sleep_to > now) {
            std::this_thread::sleep_until(sleep_to);
            // Remember how late sleeps wake: rises at once, falls slowly.
            const auto overshoot = SteadyClock::now() - sleep_to;
            sleep_overshoot_ = overshoot > sleep_overshoot_ ? overshoot : (sleep_overshoot_ * 31 + overshoot) / 32;
        }
        while (SteadyClock::now() < due) {
        }
    }
    capture_tick_read_ = true;
    resumed_in_tick_ = false;
    bool ticked = false;
    try {
        ticked = timer_.PollStep();
    } catch (const std::exception& error) {
        ticked = true;  // the tick happened; its clock reading stands
        report_(error);
    }
    capture_tick_read_ = false;
    if (ticked && !resumed_in_tick_) anchor_ = tick_read_;
    resumed_in_tick_ = false;
    if (timer_.Polling()) Arm();
}

}  // namespace pellox
