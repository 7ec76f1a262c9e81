#pragma once
// The value of a sprite key: left,top,width,height,path.

#include <string>
#include <string_view>

#include "base/result.h"

namespace pellox {

struct SpriteEntry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Everything after the fourth comma, unchanged: commas, spaces and a
    // "; note" written after it all belong to the path.
    std::string path;

    bool operator==(const SpriteEntry&) const = default;
};

// A parsed entry, or why the value is no sprite entry (for the skin's author).
using ParsedSpriteEntry = Result<SpriteEntry>;

// The value a skin loader reads for a sprite key that the skin file lacks.
inline constexpr std::string_view kMissingSpriteEntry = "-";

// Each number is one or more digits 0 to 9 and nothing else (leading zeros
// are fine) and must fit a signed 32-bit integer. Whether the path names a
// picture is not decided here.
ParsedSpriteEntry ParseSpriteEntry(std::string_view value);

}  // namespace pellox
