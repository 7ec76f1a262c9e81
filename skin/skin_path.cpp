#include "skin/skin_path.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "skin/ascii_text.h"
#include "skin/letter_case.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

std::string ErrnoText(int error) { return std::generic_category().message(error); }

constexpr bool IsAsciiLetter(char c) { return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z'; }

// "C:", "c:\..." and "C:name" (relative to drive C's own current folder) all
// point into a drive that Linux does not have.
constexpr bool StartsWithDriveLetter(std::string_view path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

// The folder as the author reads it in a message: "skin/", "/", or "./" for
// the current folder.
std::string FolderShown(const std::string& folder) {
    if (folder.empty()) return "./";
    return folder.back() == '/' ? folder : folder + "/";
}

std::string Joined(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    return FolderShown(folder) + std::string(name);
}

std::string KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "of an unknown kind";
}

// The last step: whatever the path leads to, links followed, must be a
// regular file. stat only, since opening a FIFO without a writer never returns.
ResolvedSkinPath AcceptRegularFile(const std::string& path, bool want_folder) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        // Every name on the way was seen by lstat, so what is left is the
        // last one: a link with nothing behind it, a loop of links, or a file
        // written with a separator after it.
        if (error == ENOENT) return Failure("no such file: " + Quoted(path) + " is a link to nothing");
        if (error == ELOOP) return Failure("no such file: " + Quoted(path) + " is a loop of links");
        if (error == ENOTDIR) {
            return Failure("not a folder: " + Quoted(path) + " ends with a separator but is a file");
        }
        return Failure("cannot reach " + Quoted(path) + ": " + ErrnoText(error));
    }
    if (want_folder) {
        if (!S_ISDIR(info.st_mode)) return Failure("not a folder: " + Quoted(path));
        return fs::path(path);
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure("not a regular file (" + KindOf(info.st_mode) + "): " + Quoted(path));
    }
    return fs::path(path);
}

// The entry of folder whose name equals name but for letter case; the
// first in byte-wise order when there are several, so that the same skin
// always gets the same file. A name that differs in ASCII letters only (the
// same bytes otherwise, so the same encoding) goes before one that needs the
// other letters folded. Sets error when the folder cannot be listed.
std::optional<std::string> FindInOtherCase(const std::string& folder, std::string_view name,
                                           std::string& error) {
    std::optional<std::string> best_same_bytes;
    std::optional<std::string> best;
    const auto keep_first = [](std::optional<std::string>& kept, const std::string& entry) {
        // std::string compares as unsigned char: the byte-wise order.
        if (!kept || entry < *kept) kept = entry;
    };
    std::error_code ec;
    const fs::path listed = folder.empty() ? fs::path(".") : fs::path(folder);
    for (fs::directory_iterator it(listed, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (EqualsIgnoringAsciiCase(entry, name))
            keep_first(best_same_bytes, entry);
        else if (!best_same_bytes && SameNameIgnoringCase(entry, name))
            keep_first(best, entry);
    }
    if (best_same_bytes) best = std::move(best_same_bytes);
    if (ec) {
        error = "cannot read the folder " + Quoted(FolderShown(folder)) + ": " + ec.message();
        return std::nullopt;
    }
    return best;
}

// Splits at "/" and drops the empty names that repeated separators leave.
std::vector<std::string_view> NamesOf(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view name = path.substr(0, slash);
        if (!name.empty()) names.push_back(name);
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return names;
}

ResolvedSkinPath ResolveNameByName(const std::string& path, bool want_folder) {
    std::string resolved = path.starts_with('/') ? "/" : "";
    for (const std::string_view name : NamesOf(path)) {
        if (name == "." || name == "..") {
            resolved = Joined(resolved, name);
            continue;
        }
        const std::string exact = Joined(resolved, name);
        struct stat info {};
        // lstat: an entry by this exact name exists, even a link; what it
        // leads to is judged by the next name or by the last step.
        if (::lstat(exact.c_str(), &info) == 0) {
            resolved = exact;
            continue;
        }
        const int error = errno;
        if (error == ENOTDIR) return Failure("no such file: " + Quoted(resolved) + " is not a folder");
        if (error != ENOENT) return Failure("cannot reach " + Quoted(exact) + ": " + ErrnoText(error));

        std::string list_error;
        const std::optional<std::string> found = FindInOtherCase(resolved, name, list_error);
        if (!list_error.empty()) return Failure(std::move(list_error));
        if (!found) {
            return Failure("no such file: no " + Quoted(name) + " in " + Quoted(FolderShown(resolved)));
        }
        resolved = Joined(resolved, *found);
    }
    // A separator after the last name says "a folder"; keep it so that the
    // last step refuses a file written that way, as Windows does.
    if (path.ends_with('/') && !resolved.ends_with('/')) resolved += '/';
    return AcceptRegularFile(resolved, want_folder);
}

ResolvedSkinPath Resolve(std::string_view written, const fs::path& from, bool want_folder) {
    if (written.empty()) return Failure("no file named");
    if (StartsWithDriveLetter(written)) {
        return Failure("a Windows drive letter (" + std::string(written.substr(0, 2)) +
                       ") has no meaning on Linux: name the file relative to the skin's dir");
    }
    // The system would stop reading the name at the zero and find some other file.
    if (written.find('\0') != std::string_view::npos) {
        return Failure("the file name holds a zero byte: " + Quoted(written.substr(0, written.find('\0'))));
    }

    // Windows-1251 is one byte a letter and UTF-8 never puts 0x5C inside a
    // letter, so every "\" byte is a separator.
    std::string path(written);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (!from.empty() && !path.starts_with('/')) path = FolderShown(from.string()) + path;

    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return AcceptRegularFile(path, want_folder);
    return ResolveNameByName(path, want_folder);
}

}  // namespace

ResolvedSkinPath ResolveSkinFilePath(std::string_view written, const fs::path& from) {
    return Resolve(written, from, false);
}

ResolvedSkinPath ResolveSkinFolderPath(std::string_view written, const fs::path& from) {
    return Resolve(written, from, true);
}

}  // namespace pellox
