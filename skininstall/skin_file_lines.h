#pragma once
// A skin file's lines as the game reads them, for the installer's edits of
// its [SETTINGS] (the dir, the titles): each line keeps its bytes and its own
// ending, so that joined again the file is the same but for the edited lines.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_lines.h"

namespace pellox {

struct SkinFileLines {
    std::string_view byte_order_mark;  // a UTF-8 one at the start, kept before the first line
    std::vector<IniLine> lines;
    std::optional<std::size_t> settings_header;  // the last [SETTINGS], the one the game reads
    std::map<std::string, std::size_t> settings_entries;  // its keys, lowered: the line the game reads
};

// The lines of text, a view into it.
SkinFileLines ReadSkinFileLines(std::string_view text);

// A line as written, with its ending.
std::string WrittenLine(const IniLine& line);

}  // namespace pellox
