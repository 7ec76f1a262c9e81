#pragma once
// Letter case in file names as Windows matches it: every letter, not only
// a to z, so that a skin naming "Рисунки\ВОЛК0.BMP" finds "рисунки/волк0.bmp".
// The fold is Unicode's simple case folding from a table of our own, never the
// C library's locale, so every machine matches names alike.

#include <string>
#include <string_view>

namespace pellox {

// The code point's simple case folding (Ё to ё, Σ and ς to σ, A to a).
char32_t FoldCase(char32_t c);

// A file name's letters, case folded: UTF-8 when its bytes are valid UTF-8,
// otherwise Windows-1251 (names written by skins made on Windows).
std::u32string FoldedName(std::string_view bytes);

// Whether two file names differ at most in letter case.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace pellox
