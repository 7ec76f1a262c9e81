#pragma once
// SDL's game controller events as the game reads them, and what one
// controller's buttons do to the game: plain decisions on plain values. SDL's
// event is a plain union from its header, so these are tested with tables of
// events, without SDL running.

#include <SDL.h>

#include <bitset>
#include <cstdint>
#include <vector>

#include "gamepad/pad_mapping.h"

namespace pellox {

// One of SDL's events, as far as the gamepads care.
struct PadEvent {
    enum class Kind : std::uint8_t {
        Other,    // the joystick-level events behind the ones below, and the rest
        Added,    // a controller plugged in (or a mapping came for one)
        Removed,  // a controller unplugged
        Button,   // a button pressed or let go
        Axis,     // a trigger or a stick moved
    };
    Kind kind = Kind::Other;
    // Added: SDL's device index; the others: the controller's instance id.
    std::int32_t which = -1;
    // Button: the button by place; Axis: the trigger, Other for a stick's axis.
    PadButton button = PadButton::Other;
    bool down = false;       // Button
    std::int16_t value = 0;  // Axis
    friend constexpr bool operator==(const PadEvent&, const PadEvent&) = default;
};

PadEvent ReadPadEvent(const SDL_Event& event);

// What a change of a controller's button does: a game key pressed (a key has
// no release), a case button pressed or let go, or nothing.
struct PadPlay {
    PadAction action = PadAction::Nothing();
    bool down = false;
    friend constexpr bool operator==(const PadPlay&, const PadPlay&) = default;
};

// One controller's buttons as the game has taken them.
class PadButtons {
public:
    // What a Button or Axis event of this controller plays. A press while the
    // game is behind another program is not taken, and so neither is its
    // release: a case button is never let go without having been pressed. A
    // trigger counts as a button (TriggerHeld).
    PadPlay Take(const PadEvent& event, bool in_front);
    // What the controller's going lets go, as a mouse button let go would: the
    // case buttons held. Nothing is held afterwards.
    std::vector<PadPlay> LetGoAll();

private:
    PadPlay Change(PadButton button, bool down, bool in_front);

    std::bitset<static_cast<std::size_t>(PadButton::Other) + 1> held_;
};

}  // namespace pellox
