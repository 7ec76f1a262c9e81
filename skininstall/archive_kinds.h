#pragma once
// The archives skins travel in, listed once: the unpacker enables exactly
// their formats and compressions, and the start screen takes exactly their
// names in a drop and offers them in its file dialog, so no archive is taken
// that cannot be read.

#include <array>
#include <string_view>

namespace pellox {

enum class ArchiveFormat { Zip, SevenZip, Rar, Tar };
enum class ArchiveCompression { None, Gzip, Bzip2, Xz, Lzma, Lzip, Zstd };

struct SkinArchiveKind {
    std::string_view ending;  // of the file's name, in small letters
    ArchiveFormat format;
    ArchiveCompression compression;
};

inline constexpr std::array<SkinArchiveKind, 17> kSkinArchiveKinds = {{
    {".zip", ArchiveFormat::Zip, ArchiveCompression::None},
    {".7z", ArchiveFormat::SevenZip, ArchiveCompression::None},
    {".rar", ArchiveFormat::Rar, ArchiveCompression::None},
    {".tar", ArchiveFormat::Tar, ArchiveCompression::None},
    {".tar.gz", ArchiveFormat::Tar, ArchiveCompression::Gzip},
    {".tgz", ArchiveFormat::Tar, ArchiveCompression::Gzip},
    {".tar.bz2", ArchiveFormat::Tar, ArchiveCompression::Bzip2},
    {".tbz2", ArchiveFormat::Tar, ArchiveCompression::Bzip2},
    {".tbz", ArchiveFormat::Tar, ArchiveCompression::Bzip2},
    {".tar.xz", ArchiveFormat::Tar, ArchiveCompression::Xz},
    {".txz", ArchiveFormat::Tar, ArchiveCompression::Xz},
    {".tar.lzma", ArchiveFormat::Tar, ArchiveCompression::Lzma},
    {".tlz", ArchiveFormat::Tar, ArchiveCompression::Lzma},
    {".tar.lz", ArchiveFormat::Tar, ArchiveCompression::Lzip},
    {".tar.zst", ArchiveFormat::Tar, ArchiveCompression::Zstd},
    {".tzst", ArchiveFormat::Tar, ArchiveCompression::Zstd},
    {".tar.zstd", ArchiveFormat::Tar, ArchiveCompression::Zstd},
}};

// Whether a file's name ends in one of the endings, letter case aside, with
// something before it.
bool HasSkinArchiveEnding(std::string_view file_name);

}  // namespace pellox
