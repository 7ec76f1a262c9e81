#pragma once
// The skin reader's and the installer's reasons in the page's language: the
// desktop's table of Russian reasons, its patterns matched by the browser's
// own regular expressions.

#include <string>

namespace pellox {

std::string PageReasonText(bool russian, const std::string& reason);

}  // namespace pellox
