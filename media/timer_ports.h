#pragma once
// The engine's view of the two game timers: the frame timer's port is the
// plain one (media/core/frame_timer_port.h), the side timer's is Qt's.

#include "engine/ports.h"
#include "media/core/frame_timer_port.h"
#include "media/window_timer.h"

namespace pellox {

class SideTimerPort final : public SideTimerControl {
public:
    explicit SideTimerPort(TTimer& timer) : timer_(timer) {}
    void SetEnabled(bool enabled) override { timer_.SetEnabled(enabled); }
    bool Enabled() const override { return timer_.Enabled(); }

private:
    TTimer& timer_;
};

}  // namespace pellox
