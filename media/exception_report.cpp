#include "media/exception_report.h"

#include "media/diagnostics.h"

namespace pellox {

void ReportToLog(const std::exception& error) { qCWarning(lcGame, "%s", error.what()); }

}  // namespace pellox
