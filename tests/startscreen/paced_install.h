#pragma once
// A real install held to a slower pace: a pause after each progress report
// (every 64 KiB unpacked), so that a test sees it run for as long as it needs
// (a Cancel landing halfway, a window watched over seconds).

#include <chrono>
#include <thread>

#include "skininstall/install_progress.h"

namespace pellox {

class PacedMonitor final : public InstallMonitor {
public:
    PacedMonitor(InstallMonitor& inner, std::chrono::microseconds pause) : inner_(inner), pause_(pause) {}
    void Progress(const InstallProgress& so_far) override {
        inner_.Progress(so_far);
        std::this_thread::sleep_for(pause_);
    }
    bool StopRequested() override { return inner_.StopRequested(); }

private:
    InstallMonitor& inner_;
    std::chrono::microseconds pause_;
};

}  // namespace pellox
