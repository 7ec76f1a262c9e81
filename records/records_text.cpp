#include "records/records_text.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace pellox {
namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool IsSectionHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']' &&
           line.find_first_of("[]", 1) == line.size() - 1;
}

std::string_view SectionName(std::string_view header) { return Trimmed(header.substr(1, header.size() - 2)); }

// The key of a key=value line, or nothing.
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Trimmed(line.substr(0, eq));
}

// A line a settings reader cannot take as a comment, a section header or a
// key=value entry.
bool IsUnreadableLine(std::string_view raw) {
    const std::string_view line = Trimmed(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#' || IsSectionHeader(line)) return false;
    if (std::any_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }))
        return true;
    const std::optional<std::string_view> key = KeyOf(line);
    if (!key || key->empty()) return true;
    return std::count(line.begin(), line.end(), '"') % 2 != 0;
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
    for (std::string_view raw : Lines(text)) {
        const std::string_view line = Trimmed(raw);
        if (IsSectionHeader(line)) {
            general = SectionName(line) == "General";
            continue;
        }
        if (KeyOf(line) != name) continue;
        const std::optional<std::uint32_t> value = ParseNumber(Trimmed(line.substr(line.find('=') + 1)));
        // The last line of a name counts, even when it holds no number.
        if (general) in_general = value;
        anywhere = value;
    }
    return in_general ? in_general : anywhere;
}

bool HasUnreadableLines(std::string_view text) {
    const std::vector<std::string_view> lines = Lines(text);
    return std::any_of(lines.begin(), lines.end(), IsUnreadableLine);
}

std::string WithoutUnreadableLines(std::string_view text) {
    std::string kept;
    for (std::string_view line : Lines(text)) {
        if (IsUnreadableLine(line)) continue;
        kept.append(line);
        kept.push_back('\n');
    }
    return kept;
}

std::string WithStoredValue(std::string_view text, std::string_view name, std::uint32_t value) {
    std::vector<std::string_view> lines = Lines(text);
    std::optional<std::size_t> value_line, general_header;
    bool general = true;  // before any section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trimmed(lines[i]);
        if (IsSectionHeader(line)) {
            general = SectionName(line) == "General";
            if (general && !general_header) general_header = i;
        } else if (general && KeyOf(line) == name) {
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
    for (std::size_t i = 0; i < lines.size(); ++i) {
        append(value_line == i ? std::string_view(entry) : lines[i]);
        if (!value_line && general_header == i) append(entry);
    }
    return out;
}

}  // namespace pellox
