#pragma once
// The engine's view of the two game timers.

#include "engine/ports.h"
#include "media/core/dx_timer.h"
#include "media/window_timer.h"

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

class SideTimerPort final : public SideTimerControl {
public:
    explicit SideTimerPort(TTimer& timer) : timer_(timer) {}
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    bool Enabled() const override { return timer_.Enabled(); }

private:
    TTimer& timer_;
};

}  // namespace pellox
