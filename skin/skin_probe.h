#pragma once
// Whether a file is a usable skin, judged by its version and title alone.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_file.h"

namespace pellox {

// The value that stands for "no title". A title written as exactly this text
// counts as absent.
inline constexpr std::string_view NoTitleMarker = "Tis not a title, but a test.!";

// The oldest skin file format this game reads.
inline constexpr std::string_view kOldestSkinVersion = "1.6";

struct SkinProbe {
    bool usable = false;
    // Meaningful only when usable. TitleGB is NoTitleMarker when the skin
    // has no English title.
    std::string TitleSU;
    std::string TitleGB;

    // The title to show in English: TitleGB, or TitleSU when there is none.
    const std::string& EnglishTitle() const {
        return TitleGB == NoTitleMarker ? TitleSU : TitleGB;
    }
};

// Versions are compared as byte strings, not as numbers, so "1.10" is older
// than "1.6" and "10" is newer. Bytes count as unsigned, and a proper prefix
// is older than the longer text.
bool IsSkinVersionSupported(std::string_view ver);

// Usable when SETTINGS has a supported ver and a title; titleGB is optional.
SkinProbe ProbeSkin(const SkinFile& file);
// The same for the file at path; a path that is no readable regular file is
// not usable.
SkinProbe ProbeSkin(const std::filesystem::path& path);

// Why ProbeSkin turns the file down, in words for its author; empty when it
// is usable. ProbeSkin stops at the first reason; an author is better served
// by all of them.
std::vector<std::string> SkinUnusableReasons(const SkinFile& file);

}  // namespace pellox
