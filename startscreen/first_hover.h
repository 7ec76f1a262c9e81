#pragma once
// Work that a click will need, begun when the pointer first comes over the
// control: a player's hand takes a good tenth of a second from there to the
// press, time enough to make what the click would otherwise wait for.

#include <functional>

#include <QWidget>

namespace pellox {

// Calls then once, from the event loop, after the pointer has first entered
// control; nothing after that. Owned by control.
void OnFirstHover(QWidget& control, std::function<void()> then);

}  // namespace pellox
