#include "media/exception_report.h"

#include <QtGlobal>

namespace pellox {

void ReportToLog(const std::exception& error) { qWarning("%s", error.what()); }

}  // namespace pellox
