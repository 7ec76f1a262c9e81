#pragma once
// libarchive, opened at the first install of an archive instead of at start:
// the one place that names the library and the functions the installer calls
// in it. Its types and constants come from its headers, its functions through
// ArchiveFunctions.

#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <string>

namespace pellox {

// The library as the system installs it.
inline constexpr char kArchiveLibrary[] = "libarchive.so.13";

// Named as libarchive names them, without its "archive_".
struct ArchiveFunctions {
    decltype(&::archive_read_new) read_new = nullptr;
    decltype(&::archive_read_free) read_free = nullptr;
    decltype(&::archive_read_support_format_zip) read_support_format_zip = nullptr;
    decltype(&::archive_read_support_format_7zip) read_support_format_7zip = nullptr;
    decltype(&::archive_read_support_format_rar) read_support_format_rar = nullptr;
    decltype(&::archive_read_support_format_rar5) read_support_format_rar5 = nullptr;
    decltype(&::archive_read_support_format_tar) read_support_format_tar = nullptr;
    decltype(&::archive_read_support_filter_gzip) read_support_filter_gzip = nullptr;
    decltype(&::archive_read_support_filter_bzip2) read_support_filter_bzip2 = nullptr;
    decltype(&::archive_read_support_filter_xz) read_support_filter_xz = nullptr;
    decltype(&::archive_read_support_filter_lzma) read_support_filter_lzma = nullptr;
    decltype(&::archive_read_support_filter_lzip) read_support_filter_lzip = nullptr;
    decltype(&::archive_read_support_filter_zstd) read_support_filter_zstd = nullptr;
    decltype(&::archive_read_open_filename) read_open_filename = nullptr;
    decltype(&::archive_read_next_header) read_next_header = nullptr;
    decltype(&::archive_read_data) read_data = nullptr;
    decltype(&::archive_filter_bytes) filter_bytes = nullptr;
    decltype(&::archive_error_string) error_string = nullptr;
    decltype(&::archive_entry_pathname) entry_pathname = nullptr;
    decltype(&::archive_entry_filetype) entry_filetype = nullptr;
    decltype(&::archive_entry_hardlink) entry_hardlink = nullptr;
    decltype(&::archive_entry_size) entry_size = nullptr;
};

// The library opened and every function found; null when it cannot be, with
// why in `why` (no archive can be installed then; folders and skin files
// still can). Once opened the library stays loaded for the process.
std::shared_ptr<const ArchiveFunctions> LoadArchiveLibrary(const std::string& library, std::string& why);

}  // namespace pellox
