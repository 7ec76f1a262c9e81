#include "skininstall/skin_layout.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <vector>

#include "skin/code_pages.h"
#include "skin/skin_file.h"
#include "skin/skin_text.h"
#include "skininstall/archive_names.h"
#include "skininstall/skin_file_lines.h"
#include "skininstall/skin_lookup.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

fs::path CommonAncestor(const std::vector<fs::path>& paths) {
    fs::path common = paths.front();
    for (const fs::path& path : paths) {
        fs::path shared;
        auto a = common.begin();
        auto b = path.begin();
        for (; a != common.end() && b != path.end() && *a == *b; ++a, ++b) shared /= *a;
        common = shared;
    }
    return common;
}

bool IsInside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

std::string ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWhole(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// What the skin as it lies in the source resolves to, and what must be copied.
struct Intended {
    SkinFileLookup lookup;
    std::vector<fs::path> needed;  // canonical, each once
    fs::path current;              // the folder the launch works in: dir's, else the start folder
};

Intended LookUpIntended(const SkinFile& skin, const SkinToBuild& what) {
    Intended intended;
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(what.source_root, ec);
    intended.lookup = LookUpSkinFiles(skin, root, fs::weakly_canonical(what.ini, ec).parent_path());
    intended.current = intended.lookup.dir_folder ? fs::weakly_canonical(*intended.lookup.dir_folder, ec) : root;
    std::set<fs::path> seen;
    for (std::size_t i = 0; i < intended.lookup.files.size(); ++i) {
        const std::optional<fs::path>& file = intended.lookup.files[i];
        if (!file || intended.lookup.written_absolute[i]) continue;
        fs::path canonical = fs::weakly_canonical(*file, ec);
        if (!what.files_outside_root_allowed && !IsInside(canonical, root)) {
            intended.lookup.files[i].reset();
            continue;
        }
        intended.lookup.files[i] = canonical;
        if (seen.insert(canonical).second) intended.needed.push_back(canonical);
    }
    return intended;
}

struct Layout {
    fs::path anchor;                 // the folder the skin file goes into
    std::optional<fs::path> dir_to;  // dir rewritten to this folder's copy
};

class Builder {
public:
    Builder(const SkinToBuild& what, std::uint64_t& bytes_left)
        : what_(what), bytes_left_(bytes_left), budget_(bytes_left), text_(ReadWhole(what.ini)), skin_(SkinFile::FromText(text_)) {}

    Result<BuiltSkin> Run() {
        std::error_code ec;
        root_of_source_ = fs::weakly_canonical(what_.source_root, ec);
        Intended intended = LookUpIntended(skin_, what_);
        ChooseEncoding(intended);
        const fs::path ini_folder = fs::weakly_canonical(what_.ini, ec).parent_path();
        std::vector<Layout> layouts{{ini_folder, std::nullopt}};
        // A dir that leads out of an archive finds none of its files: only
        // the skin's own folder can hold them.
        const bool current_usable = what_.files_outside_root_allowed || IsInside(intended.current, root_of_source_) ||
                                    intended.current == root_of_source_;
        if (current_usable) {
            if (intended.current != ini_folder) layouts.push_back({intended.current, std::nullopt});
            layouts.push_back({ini_folder, intended.current});
        }
        Result<BuiltSkin> tried = Failure("no layout to build");
        for (const Layout& layout : layouts) {
            tried = Build(intended, layout);
            if (!tried || Keeps(intended, *tried)) break;
        }
        if (!tried) return tried;
        BuiltSkin& built = *tried;
        if (built.dir_rewritten) {
            // Checked with the folder's path while it is being built; the
            // skin keeps the path it will have.
            built.dir_written = dir_copy_relative_.empty() || dir_copy_relative_ == "."
                                    ? what_.final_folder
                                    : (what_.final_folder / dir_copy_relative_).lexically_normal();
            const std::optional<std::string> text = WithSkinDir(text_, built.dir_written.string());
            if (!text) return Failure("cannot set its dir to " + built.dir_written.string());
            if (!WriteWhole(what_.build / built.ini_relative, *text)) return Failure("cannot write the skin file");
        }
        for (const auto& file : intended.lookup.files) built.files_missing = built.files_missing || !file;
        built.converted_to_utf8 = converted_;
        return tried;
    }


private:
    // A skin written on Windows names its files in Windows-1251, while the
    // names unpacked from its archive are UTF-8 now: the file is turned into
    // UTF-8 as well (titles and all, which read the same) when its files are
    // found so and not as it stands.
    void ChooseEncoding(Intended& intended) {
        if (IsValidUtf8(text_)) return;
        const std::string utf8 = SkinTextToUtf8(text_);
        const SkinFile converted = SkinFile::FromText(utf8);
        Intended found_converted = LookUpIntended(converted, what_);
        if (Found(found_converted) <= Found(intended)) return;
        text_ = utf8;
        skin_ = converted;
        intended = std::move(found_converted);
        converted_ = true;
    }

    static std::size_t Found(const Intended& intended) {
        return static_cast<std::size_t>(std::count_if(intended.lookup.files.begin(), intended.lookup.files.end(),
                                                      [](const auto& file) { return file.has_value(); }));
    }

    Result<BuiltSkin> Build(const Intended& intended, const Layout& layout) {
        BuiltSkin built;
        bytes_left_ = budget_;
        std::error_code ec;
        fs::remove_all(what_.build, ec);
        fs::create_directories(what_.build, ec);
        if (ec) return Failure("cannot make " + what_.build.string() + ": " + ec.message());
        std::vector<fs::path> spanned = intended.needed;
        spanned.push_back(layout.anchor);
        if (layout.dir_to) spanned.push_back(*layout.dir_to);
        root_ = CommonAncestor(spanned);
        for (const fs::path& file : intended.needed) {
            if (Result<void> copied = Copy(file); !copied) return Failure(copied.reason());
        }
        built.ini_relative = (layout.anchor.lexically_relative(root_) / what_.ini.filename()).lexically_normal();
        std::string text = text_;
        if (layout.dir_to) {
            dir_copy_relative_ = layout.dir_to->lexically_relative(root_);
            const fs::path dir_copy = what_.build / dir_copy_relative_;
            fs::create_directories(dir_copy, ec);
            std::optional<std::string> with_dir = WithSkinDir(text_, dir_copy.lexically_normal().string());
            if (!with_dir) return Failure("cannot set its dir to " + dir_copy.lexically_normal().string());
            text = std::move(*with_dir);
            built.dir_rewritten = true;
        }
        fs::create_directories((what_.build / built.ini_relative).parent_path(), ec);
        if (!WriteWhole(what_.build / built.ini_relative, text)) return Failure("cannot write the skin file");
        return built;
    }

    Result<void> Copy(const fs::path& file) {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(file, ec);
        if (ec) return Failure("cannot read " + file.string() + ": " + ec.message());
        if (size > bytes_left_) return Failure("the skin's files are larger than the bound on what is installed");
        bytes_left_ -= size;
        const fs::path copy = what_.build / file.lexically_relative(root_);
        fs::create_directories(copy.parent_path(), ec);
        if (ec) return Failure("cannot copy " + file.filename().string() + ": " + ec.message());
        // An unpacked archive is the install's own and thrown away after it:
        // its files are linked into place rather than copied again.
        if (what_.link_instead_of_copy) {
            fs::remove(copy, ec);
            fs::create_hard_link(file, copy, ec);
            if (!ec) return {};
        }
        fs::copy_file(file, copy, fs::copy_options::overwrite_existing, ec);
        if (ec) return Failure("cannot copy " + file.filename().string() + ": " + ec.message());
        return {};
    }

    // Whether the built skin finds every file the original found, each at its copy.
    bool Keeps(const Intended& intended, const BuiltSkin& built) const {
        const SkinFile installed = SkinFile::FromText(ReadWhole(what_.build / built.ini_relative));
        const SkinFileLookup lookup =
            LookUpSkinFiles(installed, what_.empty_start, (what_.build / built.ini_relative).parent_path());
        for (std::size_t i = 0; i < intended.lookup.files.size(); ++i) {
            const std::optional<fs::path>& wanted = intended.lookup.files[i];
            if (!wanted) continue;
            const fs::path expected =
                intended.lookup.written_absolute[i] ? *wanted : what_.build / wanted->lexically_relative(root_);
            std::error_code ec;
            if (!lookup.files[i] || !fs::equivalent(*lookup.files[i], expected, ec)) return false;
        }
        return true;
    }

    const SkinToBuild& what_;
    std::uint64_t& bytes_left_;
    const std::uint64_t budget_;  // each layout tried starts from the whole budget
    std::string text_;
    SkinFile skin_;
    fs::path root_of_source_;
    fs::path root_;
    fs::path dir_copy_relative_;
    bool converted_ = false;
};

}  // namespace

std::optional<std::string> WithSkinDir(const std::string& text, const std::string& folder) {
    // Each line keeps its own ending, so the rest of the file stays byte for
    // byte; a byte-order mark stays where it is, before the first line.
    const SkinFileLines file = ReadSkinFileLines(text);
    const auto dir_line = file.settings_entries.find("dir");
    const bool has_dir = dir_line != file.settings_entries.end();
    const std::string entry = "dir=" + folder + "\r\n";
    const std::string out =
        EditedSkinFile(file, [&](std::size_t i, const IniLine& line) -> std::optional<std::string> {
            if (has_dir && dir_line->second == i) return entry;
            if (has_dir || file.settings_header != i) return std::nullopt;
            // Under the header; a header on the last line gets a line end first.
            return WrittenLine(line) + (line.ending.empty() ? "\r\n" : "") + entry;
        });
    // Read back as the game reads it: the dir must be there, and nothing else moved.
    if (SkinFile::FromText(out).Find("SETTINGS", "dir") != std::optional<std::string_view>(folder)) return std::nullopt;
    return out;
}

bool MoveBuiltSkin(const fs::path& build, BuiltSkin& built, const fs::path& old_final, const fs::path& new_final) {
    if (!built.dir_rewritten) return true;
    const fs::path inside = built.dir_written.lexically_relative(old_final);
    built.dir_written = inside.empty() || inside == "." ? new_final : (new_final / inside).lexically_normal();
    const fs::path ini = build / built.ini_relative;
    const std::optional<std::string> text = WithSkinDir(ReadWhole(ini), built.dir_written.string());
    return text && WriteWhole(ini, *text);
}

Result<BuiltSkin> BuildInstalledSkin(const SkinToBuild& what, std::uint64_t& bytes_left) {
    return Builder(what, bytes_left).Run();
}

}  // namespace pellox
