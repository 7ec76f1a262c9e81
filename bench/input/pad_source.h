#pragma once
// Presses on a virtual SDL game controller plugged into the game's gamepads:
// the driver thread sets a button that turns the wolf down (the moment of the
// press) and lets it go before the next one. The game reads it in one of two
// ways, measured apart:
//   polled: as the game reads any virtual controller, by its poll timer;
//   as node: as it reads a real controller, woken at once when the device
//     node has input. A pipe stands in for the node: the driver writes to it
//     right after setting the button, and the game's own wake-up reads it to
//     its end and lets SDL read the controller. What the kernel and the evdev
//     node add before the node turns readable is not part of it.

#include <memory>
#include <string>

#include "bench/input/press_source.h"
#include "gamepad/gamepad_input.h"

namespace pellox::bench {

enum class PadWake { Polled, AsNode };

// Null, with the reason in `error`, when SDL has no virtual controller to give.
std::unique_ptr<PressSource> MakePadSource(GamepadInput& gamepads, PadWake wake, std::string* error);

}  // namespace pellox::bench
