#pragma once
// Where the lag bench's presses come from. A source presses one of the four
// game keys from the driver thread, the way the window system's own reader
// hands Qt an event while the user-interface thread may be busy in a tick.
// A controller (a virtual SDL game controller) is one more source of this kind.

#include <optional>
#include <string>

#include <QImage>
#include <QRect>
#include <QWidget>

#include "controls/control_keys.h"

namespace pellox::bench {

class PressSource {
public:
    virtual ~PressSource() = default;
    // The name printed in the results ("posted key", "XTest key", ...).
    virtual std::string Name() const = 0;
    // Presses and releases the input that plays position 0 UL, 1 UR, 2 DL, 3 DR.
    // Runs on the driver thread.
    virtual void Press(int position) = 0;
    // Whether the window system stamps the press with its own clock, read back
    // as QInputEvent::timestamp() in milliseconds of CLOCK_MONOTONIC.
    virtual bool StampedByServer() const { return false; }
    // Whether the window system's own copy of the window shows `frame` in
    // `box` now (its see-through pixels aside); nullopt where it cannot be asked.
    // Runs on the user-interface thread while the driver waits.
    virtual std::optional<bool> WindowShows(const QWidget& /*window*/, const QImage& /*frame*/,
                                            const QRect& /*box*/) {
        return std::nullopt;
    }
};

// The built-in game's letter for a position: W, O, D, K.
inline char16_t LetterOf(int position) {
    const ControlKeys keys;
    const char16_t letters[4] = {keys.KeyUL, keys.KeyUR, keys.KeyDL, keys.KeyDR};
    return letters[position & 3];
}

}  // namespace pellox::bench
