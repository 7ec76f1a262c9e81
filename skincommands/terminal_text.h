#pragma once
// Names and titles from outside (a skin file's title, an archive's entry, a
// folder's name) as the skin commands print them: a name may hold an ESC and
// the bytes after it, which a terminal would obey rather than show.

#include <string>
#include <string_view>

namespace pellox {

// text with every control character shown escaped, never raw: C0 controls,
// DEL and the C1 controls as \xNN (a line feed as \n, a tab as \t); the
// Unicode marks that turn text around or hide it (bidirectional overrides
// and isolates, line and paragraph separators) as \u{NNNN}; a byte that is
// no part of valid UTF-8 (a Windows-1251 letter) as \xNN. Everything else,
// Cyrillic letters included, stays as it is.
std::string TerminalSafe(std::string_view text);

}  // namespace pellox
