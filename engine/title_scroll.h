#pragma once
// The demo's taskbar title: a 16-character window over a 207-character credit
// line. Each scroll step drops the first character and adds one at the end.
// The line is stored in the order the scroll reads it: position p is read,
// then position ((p + 16) mod 207) + 1, so consecutive characters of the line
// lie 17 positions apart. After the whole line 17 spaces follow.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/language.h"

namespace pellox {

inline constexpr int kScrollTextLength = 207;
inline constexpr int kTitleWidth = 16;
// CaptionPos values from here on stand for the spaces between two rounds.
inline constexpr std::uint16_t kCaptionSpaces = 10000;

using StoredScrollText = std::array<char16_t, kScrollTextLength>;

// The credit line in reading order.
std::u16string_view ScrollText(InterfaceLanguage language);
// The same line in the order the scroll reads it (index = position - 1).
const StoredScrollText& StoredScroll(InterfaceLanguage language);

// Reading-order text to stored order: the k-th character shown (k from 0) is
// stored at position (17 k mod 207) + 1.
constexpr StoredScrollText StoreForScroll(std::u16string_view reading) {
    StoredScrollText stored{};
    for (int k = 0; k < kScrollTextLength; ++k)
        stored[static_cast<std::size_t>((17 * k) % kScrollTextLength)] =
            reading[static_cast<std::size_t>(k)];
    return stored;
}

// The character the title gains at this step; moves caption_pos on.
char16_t NextTitleChar(std::uint16_t& caption_pos, const StoredScrollText& text);

// Drops the first character of the title and appends c.
void ScrollTitle(std::u16string& title, char16_t c);

inline std::u16string BlankTitle() { return std::u16string(kTitleWidth, u' '); }

}  // namespace pellox
