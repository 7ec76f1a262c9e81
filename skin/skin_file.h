#pragma once
// A skin file read as INI text. The reader keeps bytes as they are: titles may
// be windows-1251 or UTF-8, and only the start screen knows how to show them.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/ini_lines.h"
#include "base/result.h"

namespace pellox {

// How a skin file's lines are read: CR, LF or CR LF end a line; spaces,
// control characters and DEL are trimmed; ";" starts a comment.
extern const IniDialect kSkinFileLines;

class SkinFile {
public:
    // A skin file is about a hundred short lines; anything far larger is not a
    // skin, and refusing it keeps a stray multi-gigabyte *.ini found by the
    // skin search from being read into memory.
    static constexpr std::size_t kMaxBytes = std::size_t{4} << 20;

    // Reads the text of a whole file. Lines split at CR, LF or CR LF; only
    // the last occurrence of a section is kept, and within it the last
    // occurrence of a key; lines before the first section and lines without
    // "=" are dropped. A UTF-8 byte order mark at the very start is skipped,
    // or a file saved by an editor that writes one would lose its first
    // section.
    static SkinFile FromText(std::string_view text);

    // The value of section/key, names matched without regard to ASCII letter
    // case; nothing when the key is absent. A key written with nothing after
    // its "=" is present with an empty value, not absent.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // The value of section/key, or fallback when the key is absent.
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

private:
    using Entries = std::unordered_map<std::string, std::string>;
    // Keyed by the lowered section name, then the lowered key.
    std::unordered_map<std::string, Entries> sections_;
};

// A skin file read from disk, or why it could not be read (for its author).
using LoadedSkinFile = Result<SkinFile>;

// Reads the skin file at path. Only a regular file (a link to one is fine) is
// read: a folder, a FIFO or a device gives an error instead of a hang.
LoadedSkinFile LoadSkinFile(const std::filesystem::path& path);

}  // namespace pellox
