#pragma once
// Names of files inside archives packed on other systems: old Windows and DOS
// tools store them in the code page of the packer's machine and separate
// folders with "\".

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pellox {

// The name as UTF-8: kept when it already is UTF-8 (valid, and no letters a
// name never holds, such as C1 controls or unassigned planes), otherwise read as
// CP866 (DOS, and most zip tools on Russian Windows) or Windows-1251, the one
// that gives more Russian letters (CP866 on a tie).
std::string ArchiveNameToUtf8(std::string_view bytes);

// An entry's name as a relative path inside the folder it is unpacked into:
// "\" and "/" separate folders, empty and "." parts are dropped. Nothing for
// a name that would leave the folder ("..", an absolute path, a drive letter)
// or that names the folder itself.
std::optional<std::filesystem::path> SafeRelativePath(std::string_view utf8_name);

}  // namespace pellox
