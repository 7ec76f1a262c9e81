#include "skininstall/archive_library.h"

#include "media/core/shared_library.h"

namespace pellox {

std::shared_ptr<const ArchiveFunctions> LoadArchiveLibrary(const std::string& library, std::string& why) {
    const SharedLibrary archive = SharedLibrary::Open(library, why);
    if (!archive.IsOpen()) return nullptr;
    auto f = std::make_shared<ArchiveFunctions>();
    const bool all =
        archive.Find("archive_read_new", f->read_new, why) && archive.Find("archive_read_free", f->read_free, why) &&
        archive.Find("archive_read_support_format_zip", f->read_support_format_zip, why) &&
        archive.Find("archive_read_support_format_7zip", f->read_support_format_7zip, why) &&
        archive.Find("archive_read_support_format_rar", f->read_support_format_rar, why) &&
        archive.Find("archive_read_support_format_rar5", f->read_support_format_rar5, why) &&
        archive.Find("archive_read_support_format_tar", f->read_support_format_tar, why) &&
        archive.Find("archive_read_support_filter_gzip", f->read_support_filter_gzip, why) &&
        archive.Find("archive_read_support_filter_bzip2", f->read_support_filter_bzip2, why) &&
        archive.Find("archive_read_support_filter_xz", f->read_support_filter_xz, why) &&
        archive.Find("archive_read_support_filter_lzma", f->read_support_filter_lzma, why) &&
        archive.Find("archive_read_support_filter_lzip", f->read_support_filter_lzip, why) &&
        archive.Find("archive_read_support_filter_zstd", f->read_support_filter_zstd, why) &&
        archive.Find("archive_read_open_filename", f->read_open_filename, why) &&
        archive.Find("archive_read_next_header", f->read_next_header, why) &&
        archive.Find("archive_read_data", f->read_data, why) &&
        archive.Find("archive_filter_bytes", f->filter_bytes, why) &&
        archive.Find("archive_error_string", f->error_string, why) &&
        archive.Find("archive_entry_pathname", f->entry_pathname, why) &&
        archive.Find("archive_entry_filetype", f->entry_filetype, why) &&
        archive.Find("archive_entry_hardlink", f->entry_hardlink, why) &&
        archive.Find("archive_entry_size", f->entry_size, why);
    if (!all) return nullptr;
    return f;
}

}  // namespace pellox
