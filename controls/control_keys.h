#pragma once
// The four game keys and which wolf position a typed character asks for.

#include <array>
#include <optional>

namespace pellox {

// Upper case for a to z only; every other character stays as it is.
constexpr char16_t UpperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

struct ControlKeys {
    char16_t KeyUL = u'W';
    char16_t KeyUR = u'O';
    char16_t KeyDL = u'D';
    char16_t KeyDR = u'K';
};

// Compared in the order UL, DL, UR, DR: of two equal keys the earlier one wins.
constexpr std::optional<int> PositionForKey(char16_t typed, const ControlKeys& keys) {
    const char16_t c = UpperAscii(typed);
    const std::array<std::pair<char16_t, int>, 4> order{{
        {keys.KeyUL, 0}, {keys.KeyDL, 2}, {keys.KeyUR, 1}, {keys.KeyDR, 3}}};
    for (const auto& [key, position] : order)
        if (c == key) return position;
    return std::nullopt;
}

}  // namespace pellox
