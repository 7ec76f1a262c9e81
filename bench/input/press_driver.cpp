#include "bench/input/press_driver.h"

namespace pellox::bench {

namespace {
// A press not seen through by then is taken as lost (no window focus, say) and made again.
constexpr auto kAnswerTimeout = std::chrono::seconds(3);
}  // namespace

PressDriver::PressDriver(PressSource& source, std::chrono::milliseconds min_gap,
                         std::chrono::milliseconds max_gap, unsigned seed)
    : source_(source), gap_ms_(static_cast<int>(min_gap.count()), static_cast<int>(max_gap.count())),
      random_(seed), thread_([this] { Run(); }) {}

PressDriver::~PressDriver() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void PressDriver::PressNext(int position) {
    {
        std::lock_guard lock(mutex_);
        next_position_ = position;
        ready_ = true;
    }
    wake_.notify_all();
}

void PressDriver::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        const bool answered = wake_.wait_for(lock, kAnswerTimeout, [this] { return ready_ || stop_; });
        if (stop_) return;
        if (!answered && pressed_once_) ++unanswered_;
        if (!answered && !pressed_once_) continue;  // the first press waits for the window
        ready_ = false;
        const int position = next_position_;
        const auto gap = std::chrono::milliseconds(gap_ms_(random_));
        if (wake_.wait_for(lock, gap, [this] { return stop_; })) return;
        lock.unlock();
        sent_.store(LagClock::now().time_since_epoch().count());
        source_.Press(position);
        lock.lock();
        pressed_once_ = true;
    }
}

}  // namespace pellox::bench
