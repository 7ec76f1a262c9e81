#pragma once
// The reasons the skin reader, the picture and wave readers and the skin
// installer give (English, for the terminal and --check-skin) in the start
// screen's language, for its message boxes.

#include <string>

#include <QString>

#include "engine/language.h"

namespace pellox {

// The reason in language. A Russian reason is built from the English one's
// parts: the file names and numbers it quotes stay as they are, and so do
// the system's own words after a colon (an errno text, an archive library's
// message). A reason with no Russian form known stays English.
QString ReasonText(InterfaceLanguage language, const std::string& reason);

}  // namespace pellox
