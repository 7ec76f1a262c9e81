#pragma once
// A usable skin zipped with a load of other files, written straight to disk
// (nothing of it held in memory), stored rather than deflated so that making
// it is quick and unpacking it is all reading and writing: an install that
// takes seconds, within the installer's default bounds.

#include <archive.h>
#include <archive_entry.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellox::test {

// Writes zip with a skin titled title at the top of folder "Big", and extra
// files of 10 MB each (the last one shorter) adding up to extra_bytes.
inline void WriteBigSkinZip(const std::filesystem::path& zip, const std::string& title, std::uint64_t extra_bytes) {
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_zip_set_compression_store(a);
    if (archive_write_open_filename(a, zip.c_str()) != ARCHIVE_OK)
        throw std::runtime_error(std::string("cannot write the zip: ") + archive_error_string(a));
    const auto add = [a](const std::string& name, std::uint64_t size, char fill) {
        archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(size));
        archive_entry_set_mtime(entry, 1700000000, 0);
        if (archive_write_header(a, entry) < ARCHIVE_WARN) throw std::runtime_error(archive_error_string(a));
        const std::string chunk(1024 * 1024, fill);
        for (std::uint64_t left = size; left > 0;) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
            if (archive_write_data(a, chunk.data(), n) < 0) throw std::runtime_error(archive_error_string(a));
            left -= n;
        }
        archive_entry_free(entry);
    };
    const auto add_text = [a](const std::string& name, const std::string& text) {
        archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(text.size()));
        if (archive_write_header(a, entry) < ARCHIVE_WARN) throw std::runtime_error(archive_error_string(a));
        archive_write_data(a, text.data(), text.size());
        archive_entry_free(entry);
    };
    add_text("Big/big.ini", "[SETTINGS]\r\nver=1.6\r\ntitle=" + title + "\r\n[BACK]\r\nground=0,0,20,10,bg.bmp\r\n");
    add_text("Big/bg.bmp", "BM");
    constexpr std::uint64_t kPart = 10ull * 1000 * 1000;
    for (int i = 0; extra_bytes > 0; ++i) {
        const std::uint64_t size = std::min(extra_bytes, kPart);
        add("Big/extras/part" + std::to_string(i) + ".dat", size, static_cast<char>('a' + i % 26));
        extra_bytes -= size;
    }
    if (archive_write_close(a) != ARCHIVE_OK) throw std::runtime_error(archive_error_string(a));
    archive_write_free(a);
}

}  // namespace pellox::test
