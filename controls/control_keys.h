#pragma once
// The four game keys and which wolf position a key press asks for.

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace pellox {

// Upper case for a to z only; every other character stays as it is.
constexpr char16_t UpperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - (u'a' - u'A')) : c;
}

constexpr bool IsLatinLetter(char16_t c) {
    const char16_t upper = UpperAscii(c);
    return upper >= u'A' && upper <= u'Z';
}

struct ControlKeys {
    char16_t KeyUL = u'W';
    char16_t KeyUR = u'O';
    char16_t KeyDL = u'D';
    char16_t KeyDR = u'K';
};

// The native scan code X11 and Wayland report for a physical key: its evdev
// code plus 8. 0 means the platform gave none.
using ScanCode = std::uint32_t;
inline constexpr ScanCode kNoScanCode = 0;

// The physical key that types a Latin letter on the US layout, kNoScanCode for
// anything else.
constexpr ScanCode UsScanCodeOfLetter(char16_t letter) {
    // evdev codes of A..Z on a US keyboard.
    constexpr std::array<std::uint8_t, 26> kEvdev{
        30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,   // A..M
        49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};  // N..Z
    if (!IsLatinLetter(letter)) return kNoScanCode;
    return ScanCode{kEvdev[UpperAscii(letter) - u'A']} + 8;
}

// Keys with their positions in the order they are compared: UL, DL, UR, DR.
// Of two equal keys the earlier one wins.
constexpr std::array<std::pair<char16_t, int>, 4> KeysInOrder(const ControlKeys& keys) {
    return {{{keys.KeyUL, 0}, {keys.KeyDL, 2}, {keys.KeyUR, 1}, {keys.KeyDR, 3}}};
}

constexpr std::optional<int> PositionForKey(char16_t typed, const ControlKeys& keys) {
    const char16_t c = UpperAscii(typed);
    for (const auto& [key, position] : KeysInOrder(keys))
        if (c == key) return position;
    return std::nullopt;
}

// A key press: the character it typed (0 when it typed none) and the physical key.
struct KeyPress {
    char16_t typed = 0;
    ScanCode scan_code = kNoScanCode;
};

// The character decides first, so a skin's keys and every Latin layout work as
// typed (AZERTY's W is where its W is printed). A press that types no Latin
// letter comes from a layout without them (Russian, Greek, Hebrew, Arabic...):
// then the physical key that types a game key's letter on the US layout plays
// that key, so the same fingers play on any layout. Game keys that are not
// Latin letters have no such key and keep the character rule only.
// On a Latin layout that puts punctuation where US has a game letter (Dvorak's
// comma on the W key) that key plays too, beside the letter's own key.
constexpr std::optional<int> PositionForKeyPress(KeyPress press, const ControlKeys& keys) {
    if (const std::optional<int> by_character = PositionForKey(press.typed, keys)) return by_character;
    if (IsLatinLetter(press.typed) || press.scan_code == kNoScanCode) return std::nullopt;
    for (const auto& [key, position] : KeysInOrder(keys))
        if (UsScanCodeOfLetter(key) == press.scan_code) return position;
    return std::nullopt;
}

}  // namespace pellox
