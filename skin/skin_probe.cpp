#include "skin/skin_probe.h"

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
    if (!loaded.file) return {};
    return ProbeSkin(*loaded.file);
}

}  // namespace pellox
