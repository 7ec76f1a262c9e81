#include "skininstall/archive_unpack.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>

#include "skininstall/archive_kinds.h"
#include "skininstall/archive_library.h"
#include "skininstall/archive_names.h"
#include "skininstall/unpack_bounds.h"
#include "skininstall/thread_locale.h"

namespace pellox {
namespace {

struct ArchiveCloser {
    decltype(&::archive_read_free) read_free;
    void operator()(archive* a) const { read_free(a); }
};
using ArchiveReader = std::unique_ptr<archive, ArchiveCloser>;

void Enable(const ArchiveFunctions& lib, archive* a, ArchiveFormat format) {
    switch (format) {
        case ArchiveFormat::Zip: lib.read_support_format_zip(a); return;
        case ArchiveFormat::SevenZip: lib.read_support_format_7zip(a); return;
        case ArchiveFormat::Rar:
            lib.read_support_format_rar(a);
            lib.read_support_format_rar5(a);
            return;
        case ArchiveFormat::Tar: lib.read_support_format_tar(a); return;
    }
}

void Enable(const ArchiveFunctions& lib, archive* a, ArchiveCompression compression) {
    switch (compression) {
        case ArchiveCompression::None: return;
        case ArchiveCompression::Gzip: lib.read_support_filter_gzip(a); return;
        case ArchiveCompression::Bzip2: lib.read_support_filter_bzip2(a); return;
        case ArchiveCompression::Xz: lib.read_support_filter_xz(a); return;
        case ArchiveCompression::Lzma: lib.read_support_filter_lzma(a); return;
        case ArchiveCompression::Lzip: lib.read_support_filter_lzip(a); return;
        case ArchiveCompression::Zstd: lib.read_support_filter_zstd(a); return;
    }
}

// The formats skins travel in (skininstall/archive_kinds.h), and nothing
// else. Not archive_read_support_format_all: mtree would read files named in
// it from this machine's disk, and some filters run outside programs.
ArchiveReader OpenReader(const ArchiveFunctions& lib) {
    ArchiveReader a(lib.read_new(), ArchiveCloser{lib.read_free});
    if (!a) return a;
    for (const SkinArchiveKind& kind : kSkinArchiveKinds) {
        Enable(lib, a.get(), kind.format);
        Enable(lib, a.get(), kind.compression);
    }
    return a;
}

std::string ArchiveError(const ArchiveFunctions& lib, archive* a) {
    const char* text = lib.error_string(a);
    return text != nullptr ? text : "the archive cannot be read";
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failed close (a full disk on some file systems) is seen.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

class Unpacker {
public:
    Unpacker(const ArchiveFunctions& lib, archive* a, std::filesystem::path into, const SkinInstallLimits& limits,
             std::uint64_t packed, InstallMonitor& monitor)
        : lib_(lib), a_(a), into_(std::move(into)), limits_(limits), monitor_(monitor) {
        progress_.packed_total = packed;
    }

    UnpackResult Run() {
        UnpackResult result;
        std::uint64_t entries = 0;  // read so far; progress_ counts those finished
        for (;;) {
            if (Stopped()) break;
            archive_entry* entry = nullptr;
            const int status = lib_.read_next_header(a_, &entry);
            if (status == ARCHIVE_EOF) break;
            if (status < ARCHIVE_WARN) {
                result.error = "the archive is damaged or not one this game reads: " + ArchiveError(lib_, a_);
                return result;
            }
            if (Result<void> counted = CheckEntryCount(limits_, ++entries); !counted) {
                result.error = counted.reason();
                return result;
            }
            Result<void> unpacked = Unpack(entry, entries, result.notes);
            if (cancelled_) break;
            if (!unpacked) {
                result.error = unpacked.reason();
                return result;
            }
            progress_.entries = entries;
            Report();
        }
        result.cancelled = cancelled_;
        if (cancelled_) result.error = kInstallCancelled;
        else if (entries == 0) result.error = "the archive is empty, or damaged, or not one this game reads";
        return result;
    }

private:
    Result<void> Unpack(archive_entry* entry, std::uint64_t number, std::vector<std::string>& notes) {
        const char* raw = lib_.entry_pathname(entry);
        if (raw == nullptr) {
            // A name marked UTF-8 that is not: libarchive keeps none of its
            // bytes, so the entry is named by its place in the archive.
            notes.push_back("passed over entry " + std::to_string(number) +
                            (last_name_.empty() ? std::string() : " (the one after \"" + last_name_ + "\")") +
                            ": its name cannot be read (" + ArchiveError(lib_, a_) + ")");
            return {};
        }
        const std::string name = ArchiveNameToUtf8(raw);
        last_name_ = name;
        const std::optional<std::filesystem::path> relative = SafeRelativePath(name);
        const mode_t type = lib_.entry_filetype(entry);
        if (!relative) {
            if (type == AE_IFDIR && (name == "." || name == "./")) return {};
            return Failure(OutsideTheFolder(name));
        }
        if (lib_.entry_hardlink(entry) != nullptr || type == AE_IFLNK) {
            notes.push_back("passed over the link " + name + ": links are never unpacked");
            return {};
        }
        const std::filesystem::path target = into_ / *relative;
        std::error_code ec;
        // Some Windows packers store a folder as an empty file whose name
        // ends in "\"; libarchive reads it as a file.
        const bool folder_by_name = name.ends_with('/') || name.ends_with('\\');
        if (type == AE_IFDIR || (type == AE_IFREG && folder_by_name && lib_.entry_size(entry) == 0)) {
            std::filesystem::create_directories(target, ec);
            if (ec) return Failure("cannot make the folder " + name + ": " + ec.message());
            return {};
        }
        if (type != AE_IFREG) {
            notes.push_back("passed over " + name + ": not a file or folder");
            return {};
        }
        std::filesystem::create_directories(target.parent_path(), ec);
        if (ec) return Failure("cannot make the folder for " + name + ": " + ec.message());
        return WriteFile(target, name);
    }

    Result<void> WriteFile(const std::filesystem::path& target, const std::string& name) {
        // O_NOFOLLOW: no link is ever written, but refuse to follow one all the same.
        FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (fd.get() < 0) return Failure("cannot write " + name + ": " + std::strerror(errno));
        std::array<char, 64 * 1024> buffer;
        for (;;) {
            const la_ssize_t got = lib_.read_data(a_, buffer.data(), buffer.size());
            if (got == 0) break;
            if (got < 0) return Failure("cannot unpack " + name + ": " + ArchiveError(lib_, a_));
            progress_.unpacked_bytes += static_cast<std::uint64_t>(got);
            if (Result<void> bound = CheckUnpackedBytes(limits_, progress_.unpacked_bytes, progress_.packed_total);
                !bound)
                return bound;
            if (!WriteAll(fd.get(), buffer.data(), static_cast<std::size_t>(got)))
                return Failure("cannot write " + name + ": " + std::strerror(errno));
            // A large picture or wave takes a while: the player sees it move
            // and may stop it halfway.
            Report();
            if (Stopped()) return Failure(kInstallCancelled);
        }
        if (!fd.Close()) return Failure("cannot write " + name + ": " + std::strerror(errno));
        return {};
    }

    void Report() {
        const la_int64_t read = lib_.filter_bytes(a_, -1);  // -1: the file itself, before any decompression
        if (read > 0) progress_.packed_read = static_cast<std::uint64_t>(read);
        monitor_.Progress(progress_);
    }

    bool Stopped() {
        cancelled_ = cancelled_ || monitor_.StopRequested();
        return cancelled_;
    }

    const ArchiveFunctions& lib_;
    archive* a_;
    std::filesystem::path into_;
    const SkinInstallLimits& limits_;
    InstallMonitor& monitor_;
    InstallProgress progress_;
    bool cancelled_ = false;
    std::string last_name_;  // the last entry named, to point at one that cannot be
};

}  // namespace

UnpackResult UnpackArchive(const std::filesystem::path& archive_file, const std::filesystem::path& into,
                           const SkinInstallLimits& limits, InstallMonitor& monitor, const std::string& library) {
    std::string why;
    const std::shared_ptr<const ArchiveFunctions> lib = LoadArchiveLibrary(library, why);
    if (!lib) return {"archives cannot be read here: the archive library cannot be loaded (" + why + ")", {}};
    // libarchive turns names it knows to be Unicode (zip's UTF-8 flag, 7z,
    // rar) into the current locale's character set; under the C locale a
    // Cyrillic name would be lost. Unflagged names stay the packer's bytes.
    const ThreadLocale utf8("C.UTF-8");
    std::error_code ec;
    const std::uintmax_t packed = std::filesystem::file_size(archive_file, ec);
    if (ec) return {"cannot read " + archive_file.string() + ": " + ec.message(), {}};
    ArchiveReader a = OpenReader(*lib);
    if (!a) return {"out of memory", {}};
    if (lib->read_open_filename(a.get(), archive_file.c_str(), 64 * 1024) != ARCHIVE_OK)
        return {"not an archive this game reads (zip, 7z, rar, tar): " + ArchiveError(*lib, a.get()), {}};
    return Unpacker(*lib, a.get(), into, limits, packed, monitor).Run();
}

}  // namespace pellox
