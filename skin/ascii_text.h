#pragma once
// Letter case in skin files and file names is folded for ASCII only: a skin
// file may be windows-1251 or UTF-8, and folding any byte above 127 would
// change a Cyrillic letter of one of them into garbage in the other.

#include <algorithm>
#include <string>
#include <string_view>

namespace pellox {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

inline std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
    return lowered;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

constexpr bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace pellox
