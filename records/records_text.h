#pragma once
// Reading the scores file as text, ourselves. Qt's settings reader hides a
// damaged file's error from every reader but the first in a process, and
// files the keys after a broken section header under that header; the scores
// must be found all the same, and a damaged file recognised every time.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellox {

// The 32-bit value stored under name: the line "name=<number>" of the
// [General] section (or before any section), else the last such line in any
// section. A number is decimal digits with an optional minus sign (a signed
// writer's two's complement) that fits 32 bits; anything else is no value.
std::optional<std::uint32_t> FindStoredValue(std::string_view text, std::string_view name);

// Whether the text has lines a settings reader cannot take as a comment, a
// section header or a key=value entry: such lines are lost when the file is
// written again.
bool HasUnreadableLines(std::string_view text);

// The text without those lines.
std::string WithoutUnreadableLines(std::string_view text);

// The text with the value stored under name set to value, so that
// FindStoredValue finds it there: the line FindStoredValue would read in the
// [General] section is replaced, or a line is added at the top of that
// section. Every other line stays as it was.
std::string WithStoredValue(std::string_view text, std::string_view name, std::uint32_t value);

}  // namespace pellox
