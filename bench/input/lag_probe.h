#pragma once
// Follows each press through the game window: when its key event is delivered,
// whether it turned the wolf, and when the repaint that shows the new pose has
// been flushed. Qt Widgets paints and flushes a top-level window's backing
// store inside the handling of its UpdateRequest event (the platform's flush
// hands the pixels over: an XPutImage/ShmPutImage and xcb_flush under xcb, a
// copy into the screen's image offscreen), so the moment that handling returns,
// after a paint of the window, is the moment the new pose reached the window
// system. QWidget::repaint sends that event at once, inside the caller: a
// window that paints a key's change before returning from the key's handler
// is seen flushing there.

#include <cstdint>
#include <functional>
#include <optional>

#include <QApplication>

#include "bench/input/press_driver.h"
#include "gamewindow/game_window.h"

namespace pellox::bench {

struct LagSample {
    GameMode state = GameMode::Demo;  // when the key was delivered
    bool in_tick = false;             // delivered inside a frame tick (during its step sound's wait)
    bool flushed_in_tick = false;     // flushed inside a frame tick
    bool pose_changed = false;
    double delivered_ms = 0;          // from the press handed over to the key event delivered
    double handled_ms = 0;            // ... to the key handler returned
    std::optional<double> flushed_ms;  // ... to the new pose flushed to the window system
    // From the window system's own stamp of the press to the flush (1 ms
    // resolution: the stamp is whole milliseconds, so this is up to 1 ms long).
    std::optional<double> flushed_from_stamp_ms;
    // The stamp lay between the hand-over and the delivery (the two clocks agree).
    bool stamp_consistent = false;
    // At the flush the window system's copy of the window already showed the
    // wolf and baskets as the game composed them (where it can be asked).
    std::optional<bool> shown_by_window_system;
};

class LagProbe {
public:
    LagProbe(GameWindow& window, const PressDriver& driver, PressSource& source,
             std::function<void(const LagSample&)> on_sample)
        : window_(window), driver_(driver), source_(source), on_sample_(std::move(on_sample)) {}

    // Delivers an event through `deliver`, timing what concerns the game window.
    bool Deliver(QObject* receiver, QEvent* event, const std::function<bool()>& deliver);

private:
    void Finish();
    // The wolf's two poses and the four baskets: where a press redraws.
    QRect PoseBox() const;

    GameWindow& window_;
    const PressDriver& driver_;
    PressSource& source_;
    std::function<void(const LagSample&)> on_sample_;
    LagSample sample_;
    LagClock::time_point sent_;
    bool awaiting_flush_ = false;
    bool painted_ = false;
    bool delivering_key_ = false;  // a flush now is inside the key's own handling
    std::uint8_t key_pose_before_ = 0;
    std::uint32_t stamp_ = 0;
};

// The application whose every event passes the probe.
class ProbedApplication : public QApplication {
public:
    using QApplication::QApplication;
    void SetProbe(LagProbe* probe) { probe_ = probe; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    LagProbe* probe_ = nullptr;
};

}  // namespace pellox::bench
