#pragma once
// The code pages skins and their archives are written in: UTF-8, Windows-1251
// (skins made on Windows) and CP866 (names in archives packed by DOS tools and
// most zip tools on Russian Windows). Our own tables, the same in the browser
// build as on the desktop.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellox {

// The strict UTF-8 sequence at the start of text (no overlong forms, no
// surrogates, nothing past U+10FFFF, nothing cut off): its length in bytes,
// with its code point in code; 0 when text does not start with one.
std::size_t Utf8SequenceAt(std::string_view text, char32_t& code);

// The characters of strict UTF-8 bytes; nothing when the bytes are not UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// A byte's character in Windows-1251. 0x98 has no letter there and stands
// for itself (U+0098), as the usual converters take it.
char32_t Cp1251Character(unsigned char byte);

// A byte's character in CP866; every byte has one.
char32_t Cp866Character(unsigned char byte);

void AppendUtf8(std::string& out, char32_t c);
void AppendUtf16(std::u16string& out, char32_t c);

// UTF-16 (the game's texts) as UTF-8; a lone surrogate is kept as its code.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace pellox
