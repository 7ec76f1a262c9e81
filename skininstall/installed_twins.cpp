#include "skininstall/installed_twins.h"

#include <fstream>
#include <map>
#include <system_error>
#include <vector>

#include "skin/skin_probe.h"
#include "skin/ascii_text.h"
#include "skin/skin_text.h"
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

std::string Trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(start, end + 1 - start));
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
    std::vector<std::string> lines = LinesWithTheirEnds(text);
    std::map<std::string, std::size_t> last;  // "title", "titlegb" -> line
    bool in_settings = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = Trimmed(lines[i]);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            in_settings = AsciiLowered(Trimmed(line.substr(1, line.size() - 2))) == "settings";
            if (in_settings) last.clear();  // only the last [SETTINGS] counts
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!in_settings || equals == std::string::npos) continue;
        const std::string key = AsciiLowered(Trimmed(line.substr(0, equals)));
        if (key == "title" || key == "titlegb") last[key] = i;
    }
    for (const auto& [key, index] : last) {
        std::string& line = lines[index];
        const std::size_t content_end = line.find_last_not_of("\r\n");
        const std::string ending = line.substr(content_end + 1);
        std::string content = line.substr(0, content_end + 1);
        const std::size_t equals = content.find('=');
        const std::string value = Trimmed(content.substr(equals + 1));
        if (value.empty() || value == NoTitleMarker) continue;
        line = content.substr(0, equals + 1) + value + std::string(suffix) + ending;
    }
    std::string out;
    for (const std::string& line : lines) out += line;
    return out;
}

}  // namespace pellox
