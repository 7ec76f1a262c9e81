#include "bench/input/lag_probe.h"

#include <cstdint>

#include <QKeyEvent>

namespace pellox::bench {

namespace {

double MsBetween(LagClock::time_point from, LagClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The X server stamps events with CLOCK_MONOTONIC in whole milliseconds,
// wrapping at 32 bits; steady_clock is CLOCK_MONOTONIC on Linux.
std::uint32_t StampOf(LagClock::time_point t) {
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count());
}

double MsSinceStamp(std::uint32_t stamp, LagClock::time_point t) {
    const auto whole = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch());
    const double fraction = std::chrono::duration<double, std::milli>(t.time_since_epoch() - whole).count();
    return static_cast<std::int32_t>(StampOf(t) - stamp) + fraction;
}

}  // namespace

bool LagProbe::Deliver(QObject* receiver, QEvent* event, const std::function<bool()>& deliver) {
    if (receiver != &window_.Form()) return deliver();
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto delivered = LagClock::now();
        if (awaiting_flush_) return deliver();  // a press made again before its flush; the first one counts
        sent_ = driver_.LastSent();
        sample_ = LagSample{};
        sample_.state = window_.Engine().CurrentState();
        sample_.in_tick = window_.FrameTimer().InTick();
        sample_.delivered_ms = MsBetween(sent_, delivered);
        if (source_.StampedByServer()) {
            const auto stamp = static_cast<std::uint32_t>(static_cast<QKeyEvent*>(event)->timestamp());
            sample_.stamp_consistent = static_cast<std::int32_t>(stamp - StampOf(sent_)) >= 0 &&
                                       static_cast<std::int32_t>(StampOf(delivered) - stamp) >= 0;
            stamp_ = stamp;
        }
        key_pose_before_ = window_.Engine().WolfPos();
        delivering_key_ = true;
        const bool result = deliver();
        delivering_key_ = false;
        sample_.handled_ms = MsBetween(sent_, LagClock::now());
        sample_.pose_changed = window_.Engine().WolfPos() != key_pose_before_;
        // Flushed already when the window painted the key's change at once.
        if (sample_.pose_changed && !sample_.flushed_ms) awaiting_flush_ = true;
        else Finish();
        return result;
    }
    case QEvent::Paint:
        painted_ = true;
        return deliver();
    case QEvent::UpdateRequest: {
        painted_ = false;
        const bool result = deliver();
        const bool pose_to_show =
            awaiting_flush_ || (delivering_key_ && window_.Engine().WolfPos() != key_pose_before_);
        if (pose_to_show && painted_ && !sample_.flushed_ms) {
            const auto flushed = LagClock::now();
            sample_.flushed_ms = MsBetween(sent_, flushed);
            sample_.flushed_in_tick = window_.FrameTimer().InTick();
            if (source_.StampedByServer()) sample_.flushed_from_stamp_ms = MsSinceStamp(stamp_, flushed);
            sample_.shown_by_window_system = source_.WindowShows(window_.Form(), window_.Form().Frame(), PoseBox());
            // Inside the key's handling the sample is finished when the handler returns.
            if (awaiting_flush_) {
                awaiting_flush_ = false;
                Finish();
            }
        }
        return result;
    }
    default:
        return deliver();
    }
}

QRect LagProbe::PoseBox() const {
    QRect box;
    for (SpriteId id : {SpriteId::imWolf0, SpriteId::imWolf1, SpriteId::imBask0, SpriteId::imBask1,
                        SpriteId::imBask2, SpriteId::imBask3})
        box |= ToQRect(window_.Form().Sprites().BoundsOf(id));
    return box;
}

void LagProbe::Finish() { on_sample_(sample_); }

bool ProbedApplication::notify(QObject* receiver, QEvent* event) {
    if (!probe_) return QApplication::notify(receiver, event);
    return probe_->Deliver(receiver, event, [&] { return QApplication::notify(receiver, event); });
}

}  // namespace pellox::bench
