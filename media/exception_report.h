#pragma once
// Where an exception that escapes a timer handler goes. Letting it unwind
// through Qt's event loop is not allowed, so the drivers catch it and hand it
// here; the game window can show it in a message box and play on.

#include <exception>
#include <functional>

namespace pellox {

using ExceptionReporter = std::function<void(const std::exception& error)>;

// Tells the message on standard error (media/diagnostics.h), where no window
// shows it.
void ReportToLog(const std::exception& error);

}  // namespace pellox
