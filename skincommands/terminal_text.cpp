#include "skincommands/terminal_text.h"

#include <cstdio>

#include "skin/code_pages.h"
#include "skin/skin_text.h"

namespace pellox {
namespace {

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
        const std::size_t length = Utf8SequenceAt(text, code);
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
