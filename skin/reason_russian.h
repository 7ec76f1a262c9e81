#pragma once
// The reasons the skin reader, the picture and wave readers and the skin
// installer give (English, for the terminal and --check-skin) put into
// Russian for the start screen's boxes and the page: one table for both.
//
// Each side matches the table's patterns with the regular expressions it
// already has (Qt's on the desktop, the browser's in the page): the patterns
// use only what both read alike. Not std::regex: libstdc++'s matcher
// recurses once per character and overflows the stack on a long file name.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellox {

struct ReasonRule {
    // A regular expression that must match a whole reason.
    const char* english;
    // The Russian text: %1, %2, ... are the pattern's captures in order.
    const char* russian;
    // The capture that is itself a reason and is put into Russian too, or 0.
    int nested = 0;
};

const std::vector<ReasonRule>& ReasonRules();

// The captures of ReasonRules()[rule] matched against the whole of text
// (an empty string for a group that took no part), or nothing when it does not match.
using ReasonMatcher = std::function<std::optional<std::vector<std::string>>(std::size_t rule, std::string_view text)>;

// The reason in Russian, built from the English one's parts: the file names
// and numbers it quotes stay as they are, and so do the system's own words
// after a colon (an errno text, an archive library's message). A reason with
// no Russian form known stays English.
std::string RussianReason(std::string_view reason, const ReasonMatcher& matches);

}  // namespace pellox
