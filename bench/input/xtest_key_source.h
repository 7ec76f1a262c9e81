#pragma once
// Key presses made by the X server itself through the XTest extension, on a
// connection of the bench's own: the server stamps each event with its clock
// and sends it to the focused window as it would a key of the keyboard.

#include <memory>
#include <string>

#include "bench/input/press_source.h"

namespace pellox::bench {

// Null when the display cannot be opened or has no XTest.
std::unique_ptr<PressSource> MakeXTestKeySource(std::string* error);

}  // namespace pellox::bench
