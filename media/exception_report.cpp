#include "media/exception_report.h"

#include "media/diagnostics.h"

namespace pellox {

void ReportToLog(const std::exception& error) { Tell(lcGame, error.what()); }

}  // namespace pellox
