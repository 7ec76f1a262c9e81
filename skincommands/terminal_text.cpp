#include "skincommands/terminal_text.h"

#include <cstdio>

namespace pellox {
namespace {

// The length of the valid UTF-8 sequence at text's start and its code point;
// 0 when there is none.
std::size_t Utf8Sequence(std::string_view text, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if ((next & 0xC0) != 0x80) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool TurnsOrHidesText(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F ||
           c == 0x061C || c == 0x2028 || c == 0x2029;
}

std::string Escaped(const char* format, unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        char32_t code = 0;
        const std::size_t length = Utf8Sequence(text, code);
        if (length == 0) {
            shown += Escaped("\\x%02X", static_cast<unsigned char>(text[0]));
            text.remove_prefix(1);
            continue;
        }
        if (code == '\n')
            shown += "\\n";
        else if (code == '\t')
            shown += "\\t";
        else if (code < 0x20 || (code >= 0x7F && code < 0xA0))
            shown += Escaped("\\x%02X", static_cast<unsigned>(code));
        else if (TurnsOrHidesText(code))
            shown += Escaped("\\u{%04X}", static_cast<unsigned>(code));
        else
            shown.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return shown;
}

}  // namespace pellox
