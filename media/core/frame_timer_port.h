#pragma once
// The engine's view of the frame timer: the timer's own logic, whoever wakes
// it (Qt's event loop on the desktop, the page's timers in the browser).

#include "engine/ports.h"
#include "media/core/dx_timer.h"

namespace pellox {

class FrameTimerPort final : public FrameTimerControl {
public:
    explicit FrameTimerPort(TDXTimer& timer) : timer_(timer) {}
    void SetInterval(int interval_ms) override { timer_.SetInterval(interval_ms); }
    int Interval() const override { return timer_.Interval(); }
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    bool Enabled() const override { return timer_.Enabled(); }

private:
    TDXTimer& timer_;
};

}  // namespace pellox
