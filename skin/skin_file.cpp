#include "skin/skin_file.h"

#include <fstream>
#include <system_error>

#include "base/ini_lines.h"
#include "skin/ascii_text.h"

namespace pellox {
namespace {

// Spaces and control characters, DEL among them. Bytes above 127 are never
// trimmed: they are letters in windows-1251 and parts of letters in UTF-8.
bool IsSkinFileSpace(unsigned char byte) { return byte <= 0x20 || byte == 0x7F; }

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

constexpr IniDialect kSkinFileLines{.cr_ends_line = true,
                                    .is_trimmed = IsSkinFileSpace,
                                    .comment_marks = ";",
                                    .brackets_inside_header = true};

SkinFile SkinFile::FromText(std::string_view text) {
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());

    SkinFile file;
    Entries* section = nullptr;  // none until the first header
    IniLineReader lines(text, kSkinFileLines);
    while (const std::optional<IniLine> line = lines.Next()) {
        if (line->kind == IniLineKind::Section) {
            // A section written again starts over: only its last occurrence
            // can be read.
            section = &file.sections_[AsciiLowered(line->section)];
            section->clear();
        } else if (line->kind == IniLineKind::Entry && section != nullptr) {
            (*section)[AsciiLowered(line->key)] = std::string(line->value);
        }
    }
    return file;
}

std::optional<std::string_view> SkinFile::Find(std::string_view section,
                                               std::string_view key) const {
    const auto found_section = sections_.find(AsciiLowered(section));
    if (found_section == sections_.end()) return std::nullopt;
    const auto found_key = found_section->second.find(AsciiLowered(key));
    if (found_key == found_section->second.end()) return std::nullopt;
    return found_key->second;
}

std::string SkinFile::Read(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
    return std::string(Find(section, key).value_or(fallback));
}

LoadedSkinFile LoadSkinFile(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return Failure("no such file: " + path.string());
    if (ec) return Failure(path.string() + " cannot be reached: " + ec.message());
    if (fs::is_directory(status)) return Failure(path.string() + " is a folder, not a skin file");
    if (!fs::is_regular_file(status)) return Failure(path.string() + " is not a regular file");

    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return Failure(path.string() + " cannot be read: " + ec.message());
    if (size > SkinFile::kMaxBytes) {
        return Failure(path.string() + " is too large for a skin file (over 4 MiB)");
    }

    std::ifstream in(path, std::ios::binary);
    if (!in) return Failure(path.string() + " cannot be opened");
    // A file that grows while it is read is cut at the size taken above.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return Failure(path.string() + " cannot be read");
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return SkinFile::FromText(bytes);
}

}  // namespace pellox
