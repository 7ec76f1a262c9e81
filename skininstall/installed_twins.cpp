#include "skininstall/installed_twins.h"

#include <fstream>
#include <set>
#include <system_error>
#include <vector>

#include "skin/skin_probe.h"
#include "skin/skin_text.h"
#include "skininstall/skin_file_lines.h"
#include "skininstall/skin_layout.h"
#include "skininstall/skin_candidates.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// An installed skin's folder holds a few hundred files at most.
constexpr std::uint64_t kMostEntries = 10000;

bool IsHidden(const fs::path& path) { return path.filename().string().starts_with('.'); }

// Every installed skin: its folder and skin files.
std::vector<std::pair<fs::path, fs::path>> InstalledSkinFiles(const fs::path& skins_folder) {
    std::vector<std::pair<fs::path, fs::path>> skins;
    std::error_code ec;
    for (fs::directory_iterator it(skins_folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (IsHidden(it->path()) || !it->is_directory(kind) || it->is_symlink(kind)) continue;
        for (const fs::path& ini : FindSkinCandidates(it->path(), kMostEntries).inis) skins.emplace_back(it->path(), ini);
    }
    return skins;
}

std::string TitleOf(const fs::path& ini) {
    const SkinProbe probe = ProbeSkin(ini);
    return probe.usable ? SkinTextToUtf8(probe.TitleSU) : std::string();
}

// Each regular file under folder by its path inside it, and whether
// anything else (a link, a device) is there.
bool ListFiles(const fs::path& folder, std::map<fs::path, std::uintmax_t>& files) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec), end;
    for (std::uint64_t seen = 0; !ec && it != end; it.increment(ec)) {
        if (++seen > kMostEntries) return false;
        std::error_code kind;
        const fs::file_status status = it->symlink_status(kind);
        if (fs::is_directory(status)) continue;
        if (!fs::is_regular_file(status)) return false;
        files[it->path().lexically_relative(folder)] = it->file_size(kind);
    }
    return !ec;
}

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream in_a(a, std::ios::binary), in_b(b, std::ios::binary);
    if (!in_a || !in_b) return false;
    std::vector<char> buffer_a(1 << 16), buffer_b(1 << 16);
    while (in_a && in_b) {
        in_a.read(buffer_a.data(), static_cast<std::streamsize>(buffer_a.size()));
        in_b.read(buffer_b.data(), static_cast<std::streamsize>(buffer_b.size()));
        if (in_a.gcount() != in_b.gcount() ||
            !std::equal(buffer_a.begin(), buffer_a.begin() + in_a.gcount(), buffer_b.begin()))
            return false;
    }
    return in_a.eof() && in_b.eof();
}

}  // namespace

bool SameFiles(const fs::path& a, const fs::path& b) {
    std::map<fs::path, std::uintmax_t> files_a, files_b;
    if (!ListFiles(a, files_a) || !ListFiles(b, files_b) || files_a != files_b) return false;
    for (const auto& [name, size] : files_a)
        if (!SameBytes(a / name, b / name)) return false;
    return true;
}

std::set<std::string> InstalledTitles(const fs::path& skins_folder) {
    std::set<std::string> titles;
    for (const auto& [folder, ini] : InstalledSkinFiles(skins_folder))
        if (std::string title = TitleOf(ini); !title.empty()) titles.insert(std::move(title));
    return titles;
}

std::optional<InstalledTwin> FindInstalledTwin(const fs::path& skins_folder, const fs::path& built,
                                               const std::string& title) {
    std::optional<InstalledTwin> same_title;
    for (const auto& [folder, ini] : InstalledSkinFiles(skins_folder)) {
        if (TitleOf(ini) != title) continue;
        if (SameFiles(folder, built)) return InstalledTwin{true, folder, ini};
        if (!same_title) same_title = InstalledTwin{false, folder, ini};
    }
    return same_title;
}

std::string WithTitlesSuffixed(const std::string& text, std::string_view suffix) {
    // Each line keeps its own ending, so the rest of the file stays byte for byte.
    const SkinFileLines file = ReadSkinFileLines(text);
    std::set<std::size_t> title_lines;
    for (const char* key : {"title", "titlegb"})
        if (const auto found = file.settings_entries.find(key); found != file.settings_entries.end())
            title_lines.insert(found->second);
    return EditedSkinFile(file, [&](std::size_t i, const IniLine& line) -> std::optional<std::string> {
        if (!title_lines.count(i) || line.value.empty() || line.value == NoTitleMarker) return std::nullopt;
        return std::string(line.raw.substr(0, line.raw.find('=') + 1)) + std::string(line.value) +
               std::string(suffix) + std::string(line.ending);
    });
}

}  // namespace pellox
