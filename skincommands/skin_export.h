#pragma once
// `pellox --export-skin DIR`: the built-in game written out as a complete
// skin folder, for a skin's author to start from.

#include <filesystem>
#include <ostream>
#include <string_view>

namespace pellox {

// The skin file's name inside the folder.
inline constexpr std::string_view kExportedSkinFile = "pellox.ini";

// The exported skin's titles, as the menu lists it beside the built-in game
// until its author names it: the copy is theirs to paint over.
inline constexpr std::string_view kExportedTitleSU = "Kestrow (ваша копия)";
inline constexpr std::string_view kExportedTitleGB = "Kestrow (your copy)";

// Writes DIR/pellox.ini with every key, the built-in pictures to
// DIR/pictures and the built-in waves to DIR/sounds, byte for byte. DIR is
// made with its parents; an existing DIR must be an empty folder, so that
// nothing of the author's is ever overwritten. Says where it wrote on out and
// gives 0, or says why not on err and gives 1.
int ExportSkinCommand(const std::filesystem::path& dir, std::ostream& out, std::ostream& err);

}  // namespace pellox
