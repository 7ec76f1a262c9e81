#include "skin/skin_probe.h"

#include <optional>

namespace pellox {
namespace {

// The default a loader reads for a ver key the file lacks; written out, it
// is rejected just the same.
constexpr std::string_view kAbsentVersion = "absent";

}  // namespace

bool IsSkinVersionSupported(std::string_view ver) {
    // std::char_traits<char> compares as unsigned char, and a prefix sorts
    // first: the byte-wise order wanted here.
    return ver != kAbsentVersion && ver.compare(kOldestSkinVersion) >= 0;
}

SkinProbe ProbeSkin(const SkinFile& file) {
    SkinProbe probe;
    if (!IsSkinVersionSupported(file.Read("SETTINGS", "ver", kAbsentVersion))) return probe;
    probe.TitleSU = file.Read("SETTINGS", "title", NoTitleMarker);
    probe.TitleGB = file.Read("SETTINGS", "titleGB", NoTitleMarker);
    probe.usable = probe.TitleSU != NoTitleMarker;
    return probe;
}

SkinProbe ProbeSkin(const std::filesystem::path& path) {
    const LoadedSkinFile loaded = LoadSkinFile(path);
    if (!loaded) return {};
    return ProbeSkin(*loaded);
}

std::vector<std::string> SkinUnusableReasons(const SkinFile& file) {
    std::vector<std::string> reasons;
    const std::string oldest(kOldestSkinVersion);
    const std::optional<std::string_view> ver = file.Find("SETTINGS", "ver");
    if (!ver)
        reasons.push_back("[SETTINGS] has no ver: write ver=" + oldest);
    else if (!IsSkinVersionSupported(*ver))
        reasons.push_back("ver=" + std::string(*ver) + " is older than " + oldest +
                          ", the oldest the game reads (versions compare as text, character by character)");
    const std::optional<std::string_view> title = file.Find("SETTINGS", "title");
    if (!title)
        reasons.push_back("[SETTINGS] has no title");
    else if (*title == NoTitleMarker)
        reasons.push_back("the title is the text that stands for no title");
    return reasons;
}

}  // namespace pellox
