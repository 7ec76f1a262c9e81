#pragma once
// The paths a skin file gives for its pictures and waves. Skins are written on
// Windows: "\" separates folders and letter case does not matter there, so a
// skin that works for its author must work here unchanged.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.h"

namespace pellox {

// The file to read, or why there is none, in words for a skin author.
using ResolvedSkinPath = Result<std::filesystem::path>;

// `written` is the path exactly as the skin file gives it (bytes; may be UTF-8
// or Windows-1251). Relative paths resolve against `from`, a folder; left
// empty, against the process's current folder.
//
// "\" and "/" both separate folders, repeated separators count as one. A path
// that exists as written is used as written. Otherwise each name that does not
// exist exactly is looked up among its folder's entries with letter case
// folded as Windows does, for every letter (skin/letter_case.h: UTF-8 names,
// else Windows-1251 ones); of several matches the first in byte-wise order
// wins.
// "." and ".." stay as they are.
//
// Only a regular file (or a link to one) is accepted. The file is never
// opened, so a FIFO cannot block the caller. Errors are results, not
// exceptions; only std::bad_alloc may escape.
ResolvedSkinPath ResolveSkinFilePath(std::string_view written, const std::filesystem::path& from = {});

// The same for a folder (a skin's dir): found the same way, and it must be a
// folder.
ResolvedSkinPath ResolveSkinFolderPath(std::string_view written, const std::filesystem::path& from = {});

}  // namespace pellox
