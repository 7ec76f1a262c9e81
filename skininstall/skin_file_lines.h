#pragma once
// A skin file's lines as the game reads them, for the installer's edits of
// its [SETTINGS] (the dir, the titles): each line keeps its bytes and its own
// ending, so that joined again the file is the same but for the edited lines.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "base/ini_lines.h"

namespace pellox {

struct SkinFileLines {
    std::string_view byte_order_mark;  // a UTF-8 one at the start, kept before the first line
    std::string_view body;             // the lines after it
    std::optional<std::size_t> settings_header;  // the last [SETTINGS], the one the game reads
    std::map<std::string, std::size_t> settings_entries;  // its keys, lowered: the line the game reads
};

// Where the lines the game reads lie in text, a view into it.
SkinFileLines ReadSkinFileLines(std::string_view text);

// A line as written, with its ending.
std::string WrittenLine(const IniLine& line);

// The file written again: each line (counted from 0 after the byte-order mark)
// as edit gives it, or as written when edit gives nothing.
using LineEdit = std::function<std::optional<std::string>(std::size_t index, const IniLine& line)>;
std::string EditedSkinFile(const SkinFileLines& file, const LineEdit& edit);

}  // namespace pellox
