#include "engine/title_scroll.h"

namespace pellox {
namespace {

// Written for this game. Each is exactly 207 characters (checked below).
constexpr std::u16string_view kEnglish =
    u"Kestrow – the Pellox pocket game. The wolf turns his basket from chute to chute and "
    u"catches every egg before it breaks. Drawn, coded and voiced by the Pellox developers. "
    u"Thank you for playing, and good luck!";
constexpr std::u16string_view kRussian =
    u"Kestrow — карманная игра Pellox. Волк с корзиной ловит яйца, что катятся по четырём "
    u"желобам, не давая им разбиться. Игру нарисовали, запрограммировали и озвучили "
    u"разработчики Pellox. Спасибо за игру, друзья!";
static_assert(kEnglish.size() == kScrollTextLength);
static_assert(kRussian.size() == kScrollTextLength);

constexpr StoredScrollText kStoredEnglish = StoreForScroll(kEnglish);
constexpr StoredScrollText kStoredRussian = StoreForScroll(kRussian);

}  // namespace

std::u16string_view ScrollText(InterfaceLanguage language) {
    return language == InterfaceLanguage::Russian ? kRussian : kEnglish;
}

const StoredScrollText& StoredScroll(InterfaceLanguage language) {
    return language == InterfaceLanguage::Russian ? kStoredRussian : kStoredEnglish;
}

char16_t NextTitleChar(std::uint16_t& caption_pos, const StoredScrollText& text) {
    char16_t c = u' ';
    if (caption_pos >= kCaptionSpaces) {
        ++caption_pos;
    } else {
        // A position outside the line can only come from a corrupted state: read a space.
        if (caption_pos >= 1 && caption_pos <= kScrollTextLength) c = text[caption_pos - 1u];
        caption_pos = static_cast<std::uint16_t>(((caption_pos + 16) % kScrollTextLength) + 1);
    }
    if (caption_pos == 1) caption_pos = kCaptionSpaces + 1;
    if (caption_pos == kCaptionSpaces + 18) caption_pos = 1;
    return c;
}

void ScrollTitle(std::u16string& title, char16_t c) {
    // The window stays 16 characters wide whatever it held before.
    constexpr std::size_t width = kTitleWidth;
    title.push_back(c);
    if (title.size() > width) title.erase(0, title.size() - width);
    else if (title.size() < width) title.insert(0, width - title.size(), u' ');
}

}  // namespace pellox
