#include "skininstall/skin_candidates.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "skin/find_skin.h"

namespace pellox {
namespace {

constexpr std::size_t kOtherFilesShown = 8;

bool IsIniName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".ini";
}

class Walk {
public:
    Walk(std::uint64_t max_entries, SkinCandidates& out) : max_entries_(max_entries), out_(out) {}

    void Folder(const std::filesystem::path& folder, int depth) {
        if (!out_.error.empty()) return;
        if (depth > kDeepestSkinFolder) {
            out_.deeper_folders_left = true;
            return;
        }
        std::vector<std::filesystem::directory_entry> entries;
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (++seen_ > max_entries_) {
                out_.error = "more than " + std::to_string(max_entries_) + " files and folders, too many for a skin";
                return;
            }
            entries.push_back(*it);
        }
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
        std::vector<std::filesystem::path> folders;
        for (const auto& entry : entries) {
            const std::string name = entry.path().filename().string();
            if (entry.is_symlink(ec)) continue;
            if (entry.is_directory(ec)) {
                if (!name.starts_with(".") && name != "__MACOSX") folders.push_back(entry.path());
            } else if (entry.is_regular_file(ec)) {
                if (IsIniName(name))
                    out_.inis.push_back(entry.path());
                else if (out_.other_files.size() < kOtherFilesShown)
                    out_.other_files.push_back(name);
            }
        }
        for (const auto& sub : folders) Folder(sub, depth + 1);
    }

private:
    std::uint64_t max_entries_;
    std::uint64_t seen_ = 0;
    SkinCandidates& out_;
};

}  // namespace

SkinCandidates FindSkinCandidates(const std::filesystem::path& folder, std::uint64_t max_entries) {
    SkinCandidates candidates;
    Walk(max_entries, candidates).Folder(folder, 0);
    return candidates;
}

}  // namespace pellox
