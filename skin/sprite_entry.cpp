#include "skin/sprite_entry.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

namespace pellox {
namespace {

constexpr std::array<std::string_view, 4> kFieldNames = {"left", "top", "width", "height"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "field 2 (top)": authors count fields from one, as they read the line.
std::string FieldName(std::size_t index) {
    return "field " + std::to_string(index + 1) + " (" + std::string(kFieldNames[index]) + ")";
}

}  // namespace

ParsedSpriteEntry ParseSpriteEntry(std::string_view value) {
    if (value == kMissingSpriteEntry) return Failure("the sprite entry is missing");

    std::array<int, 4> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t comma = value.find(',');
        if (comma == std::string_view::npos) {
            return Failure("no comma after " + FieldName(i) +
                           ": a sprite entry is left,top,width,height,path");
        }
        const std::string_view digits = value.substr(0, comma);
        if (digits.empty()) return Failure(FieldName(i) + " is empty: it needs a number");
        if (!std::all_of(digits.begin(), digits.end(), IsDigit)) {
            return Failure("not a number in " + FieldName(i) +
                           ": only the digits 0 to 9 are allowed, no sign or space");
        }
        const std::errc ec =
            std::from_chars(digits.data(), digits.data() + digits.size(), numbers[i]).ec;
        if (ec == std::errc::result_out_of_range) {
            return Failure("the number in " + FieldName(i) + " is larger than 2147483647");
        }
        value.remove_prefix(comma + 1);
    }
    return SpriteEntry{numbers[0], numbers[1], numbers[2], numbers[3], std::string(value)};
}

}  // namespace pellox
