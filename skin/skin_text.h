#pragma once
// A skin file's texts as the game shows and uses them: titles, control keys,
// and the values the game falls back to when a skin leaves them out.

#include <array>
#include <string>
#include <string_view>

namespace pellox {

// The built-in game's name in the taskbar, in each language's quotation
// marks, as the menu writes it.
inline const std::u16string kBuiltinTitleSU = u"«Kestrow»";
inline const std::u16string kBuiltinTitleGB = u"“Kestrow”";

// The keys a skin gets for key0..key3 (upper left, upper right, lower left,
// lower right) when it leaves them out: D for the upper right and O for the
// lower left, the reverse of the built-in game, and such a skin plays so.
inline constexpr std::array<char16_t, 4> kSkinDefaultKeys = {u'W', u'D', u'O', u'K'};

// A skin file's text as the game shows it: UTF-8 when the bytes are valid
// UTF-8 (a byte-order mark at the start is dropped), otherwise Windows-1251
// (the encoding of skins made on Windows).
std::u16string DecodeSkinText(const std::string& bytes);

// The same text as UTF-8, as the installer and the browser's page write it.
std::string SkinTextToUtf8(const std::string& bytes);

// A control key from a skin: the first character of the value, a to z in
// capitals; an empty value keeps the fallback.
char16_t SkinControlKey(const std::string& value, char16_t fallback);

}  // namespace pellox
