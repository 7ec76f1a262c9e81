#pragma once
// Archives made by the tests themselves with libarchive's writer: the shapes
// skins travel in, and the shapes a hostile archive takes.

#include <archive.h>
#include <archive_entry.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "skininstall/thread_locale.h"

namespace pellox::test {

struct ArchiveItem {
    enum class Kind { File, Folder, Symlink, Hardlink };
    std::string name;  // bytes as the archive stores them
    std::string bytes;  // a file's contents, or a link's target
    Kind kind = Kind::File;
};

inline ArchiveItem File(std::string name, std::string bytes) { return {std::move(name), std::move(bytes)}; }
inline ArchiveItem Folder(std::string name) { return {std::move(name), {}, ArchiveItem::Kind::Folder}; }
inline ArchiveItem Symlink(std::string name, std::string target) {
    return {std::move(name), std::move(target), ArchiveItem::Kind::Symlink};
}
inline ArchiveItem Hardlink(std::string name, std::string target) {
    return {std::move(name), std::move(target), ArchiveItem::Kind::Hardlink};
}

enum class ArchiveKind {
    Zip,          // names stored as given, no UTF-8 flag (an old Windows or DOS packer)
    ZipUtf8,      // names flagged UTF-8
    SevenZip,
    TarGz,
    Tar,
    TarBzip2,
    TarXz,
    TarLzma,
    TarLzip,
    TarZstd,
};

namespace detail {

inline la_ssize_t AppendTo(archive*, void* out, const void* bytes, size_t size) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(bytes), size);
    return static_cast<la_ssize_t>(size);
}

}  // namespace detail

inline std::string MakeArchive(ArchiveKind kind, const std::vector<ArchiveItem>& items) {
    // The zip writer flags names UTF-8 when the locale's character set is
    // UTF-8 and stores them raw otherwise.
    const ThreadLocale locale(kind == ArchiveKind::ZipUtf8 || kind == ArchiveKind::SevenZip ? "C.UTF-8" : "C");
    if (!locale.held()) throw std::runtime_error("no C.UTF-8 locale");
    archive* a = archive_write_new();
    switch (kind) {
        case ArchiveKind::Zip:
        case ArchiveKind::ZipUtf8:
            archive_write_set_format_zip(a);
            break;
        case ArchiveKind::SevenZip:
            archive_write_set_format_7zip(a);
            break;
        case ArchiveKind::TarGz:
        case ArchiveKind::Tar:
        case ArchiveKind::TarBzip2:
        case ArchiveKind::TarXz:
        case ArchiveKind::TarLzma:
        case ArchiveKind::TarLzip:
        case ArchiveKind::TarZstd:
            archive_write_set_format_pax_restricted(a);
            break;
    }
    switch (kind) {
        case ArchiveKind::TarGz: archive_write_add_filter_gzip(a); break;
        case ArchiveKind::TarBzip2: archive_write_add_filter_bzip2(a); break;
        case ArchiveKind::TarXz: archive_write_add_filter_xz(a); break;
        case ArchiveKind::TarLzma: archive_write_add_filter_lzma(a); break;
        case ArchiveKind::TarLzip: archive_write_add_filter_lzip(a); break;
        case ArchiveKind::TarZstd: archive_write_add_filter_zstd(a); break;
        default: break;
    }
    std::string out;
    archive_write_set_bytes_in_last_block(a, 1);
    if (archive_write_open(a, &out, nullptr, detail::AppendTo, nullptr) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(a));
    for (const ArchiveItem& item : items) {
        archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, item.name.c_str());
        archive_entry_set_mtime(entry, 1700000000, 0);
        switch (item.kind) {
            case ArchiveItem::Kind::File:
                archive_entry_set_filetype(entry, AE_IFREG);
                archive_entry_set_perm(entry, 0644);
                archive_entry_set_size(entry, static_cast<la_int64_t>(item.bytes.size()));
                break;
            case ArchiveItem::Kind::Folder:
                archive_entry_set_filetype(entry, AE_IFDIR);
                archive_entry_set_perm(entry, 0755);
                break;
            case ArchiveItem::Kind::Symlink:
                archive_entry_set_filetype(entry, AE_IFLNK);
                archive_entry_set_perm(entry, 0777);
                archive_entry_copy_symlink(entry, item.bytes.c_str());
                break;
            case ArchiveItem::Kind::Hardlink:
                archive_entry_set_filetype(entry, AE_IFREG);
                archive_entry_copy_hardlink(entry, item.bytes.c_str());
                break;
        }
        if (archive_write_header(a, entry) < ARCHIVE_WARN) throw std::runtime_error(archive_error_string(a));
        if (item.kind == ArchiveItem::Kind::File && !item.bytes.empty())
            archive_write_data(a, item.bytes.data(), item.bytes.size());
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    return out;
}

// Whether the first local header of a zip flags its name as UTF-8 (bit 11).
inline bool ZipFirstNameFlaggedUtf8(const std::string& zip) {
    return zip.size() > 8 && (static_cast<unsigned char>(zip[7]) & 0x08) != 0;
}

}  // namespace pellox::test
