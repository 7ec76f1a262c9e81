#include "records/records_text.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "base/ini_lines.h"

namespace pellox {
namespace {

bool IsSettingsSpace(unsigned char byte) { return byte == ' ' || byte == '\t' || byte == '\r'; }

// As Qt's settings read and write the file: only LF ends a line (a CR before
// it is trimmed), ";" and "#" start comments, and a header holds no bracket
// inside its own.
constexpr IniDialect kScoresFileLines{.cr_ends_line = false,
                                      .is_trimmed = IsSettingsSpace,
                                      .comment_marks = ";#",
                                      .brackets_inside_header = false};

IniLineReader Lines(std::string_view text) { return IniLineReader(text, kScoresFileLines); }

// A line a settings reader cannot take as a comment, a section header or a
// key=value entry.
bool IsUnreadableLine(const IniLine& line) {
    switch (line.kind) {
        case IniLineKind::Blank:
        case IniLineKind::Comment:
        case IniLineKind::Section:
            return false;
        case IniLineKind::Other:
            return true;
        case IniLineKind::Entry:
            break;
    }
    const std::string_view text = line.text;
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }))
        return true;
    if (line.key.empty()) return true;
    return std::count(text.begin(), text.end(), '"') % 2 != 0;
}

std::optional<std::uint32_t> ParseNumber(std::string_view value) {
    const bool negative = !value.empty() && value.front() == '-';
    if (negative) value.remove_prefix(1);
    if (value.empty() || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    if (negative) {
        if (n > 2147483648ULL) return std::nullopt;
        return static_cast<std::uint32_t>(-static_cast<std::int64_t>(n));
    }
    if (n > 4294967295ULL) return std::nullopt;
    return static_cast<std::uint32_t>(n);
}

}  // namespace

std::optional<std::uint32_t> FindStoredValue(std::string_view text, std::string_view name) {
    std::optional<std::uint32_t> in_general, anywhere;
    bool general = true;  // before any section
    IniLineReader lines = Lines(text);
    while (const std::optional<IniLine> line = lines.Next()) {
        if (line->kind == IniLineKind::Section) {
            general = line->section == "General";
            continue;
        }
        if (line->kind != IniLineKind::Entry || line->key != name) continue;
        const std::optional<std::uint32_t> value = ParseNumber(line->value);
        // The last line of a name counts, even when it holds no number.
        if (general) in_general = value;
        anywhere = value;
    }
    return in_general ? in_general : anywhere;
}

bool HasUnreadableLines(std::string_view text) {
    IniLineReader lines = Lines(text);
    while (const std::optional<IniLine> line = lines.Next())
        if (IsUnreadableLine(*line)) return true;
    return false;
}

std::string WithoutUnreadableLines(std::string_view text) {
    std::string kept;
    IniLineReader lines = Lines(text);
    while (const std::optional<IniLine> line = lines.Next()) {
        if (IsUnreadableLine(*line)) continue;
        kept.append(line->raw);
        kept.push_back('\n');
    }
    return kept;
}

std::string WithStoredValue(std::string_view text, std::string_view name, std::uint32_t value) {
    std::optional<std::size_t> value_line, general_header;
    bool general = true;  // before any section
    IniLineReader lines = Lines(text);
    for (std::size_t i = 0; const std::optional<IniLine> line = lines.Next(); ++i) {
        if (line->kind == IniLineKind::Section) {
            general = line->section == "General";
            if (general && !general_header) general_header = i;
        } else if (general && line->kind == IniLineKind::Entry && line->key == name) {
            value_line = i;  // the last one counts
        }
    }
    const std::string entry = std::string(name) + "=" + std::to_string(value);
    std::string out;
    const auto append = [&out](std::string_view line) {
        out.append(line);
        out.push_back('\n');
    };
    if (!value_line && !general_header) {
        append("[General]");
        append(entry);
    }
    IniLineReader again = Lines(text);
    for (std::size_t i = 0; const std::optional<IniLine> line = again.Next(); ++i) {
        append(value_line == i ? std::string_view(entry) : line->raw);
        if (!value_line && general_header == i) append(entry);
    }
    return out;
}

}  // namespace pellox
