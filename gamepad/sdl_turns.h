#pragma once
// The window thread and the mapping loader take turns in SDL, the window
// first, without the window ever waiting: each says it wants SDL, then looks
// whether the other is in (sequentially consistent atomics: of two that both
// said so, at least one sees the other). The window, finding the loader in,
// comes back a moment later, when the loader's few lines are in, and keeps
// its claim meanwhile; the loader, finding the window in or waiting, waits.

#include <atomic>

namespace pellox {

class SdlTurns {
public:
    // The window thread's: true when SDL is its own until WindowLeaves (also
    // when it already was, further up its stack); false when the loader is
    // in, and then the window's claim stays until it comes back.
    bool WindowTakes();
    void WindowLeaves();
    // The window gives up its claim for good (it is going): a claim left
    // waiting would hold the loader for ever.
    void WindowGoes() { window_wants_ = false; }

    // The loader's: waits while the window is in or waiting.
    void LoaderTakes();
    void LoaderLeaves() { loader_in_ = false; }

private:
    std::atomic<bool> window_wants_{false};
    std::atomic<bool> loader_in_{false};
    int window_turns_ = 0;  // the window thread's own, nested
};

}  // namespace pellox
