#include "gamepad/sdl_turns.h"

#include <chrono>
#include <thread>

namespace pellox {

bool SdlTurns::WindowTakes() {
    if (window_turns_++ > 0) return true;
    window_wants_ = true;
    if (!loader_in_) return true;
    window_turns_ = 0;
    return false;
}

void SdlTurns::WindowLeaves() {
    if (--window_turns_ == 0) window_wants_ = false;
}

void SdlTurns::LoaderTakes() {
    for (;;) {
        while (window_wants_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        loader_in_ = true;
        if (!window_wants_) return;
        loader_in_ = false;
    }
}

}  // namespace pellox
