#include "web/page_reasons.h"

#include <emscripten/val.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/reason_russian.h"

namespace pellox {
namespace {

using emscripten::val;

// The table's patterns as the browser's RegExp objects, each made once, to
// match a whole reason.
const std::vector<val>& Patterns() {
    static const std::vector<val> patterns = [] {
        std::vector<val> made;
        const val regexp = val::global("RegExp");
        for (const ReasonRule& rule : ReasonRules())
            made.push_back(regexp.new_(std::string("^(?:") + rule.english + ")$"));
        return made;
    }();
    return patterns;
}

std::optional<std::vector<std::string>> Matches(std::size_t rule, std::string_view text) {
    const val match = Patterns()[rule].call<val>("exec", std::string(text));
    if (match.isNull()) return std::nullopt;
    std::vector<std::string> captures;
    const int count = match["length"].as<int>();
    for (int i = 1; i < count; ++i) {
        const val capture = match[i];
        captures.push_back(capture.isUndefined() ? std::string() : capture.as<std::string>());
    }
    return captures;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

std::string ShownInPackage(std::string text, const PagePackage& package) {
    ReplaceAll(text, "/./", "/");
    ReplaceAll(text, "\"./", "\"");
    if (package.folder.empty()) return text;
    // The folder itself is named by what the player dropped; its id is the
    // page's own, so it names nothing else in a reason.
    const std::string named = "\"" + (package.name.empty() ? std::string("./") : package.name) + "\"";
    ReplaceAll(text, "\"" + package.folder + "/\"", named);
    ReplaceAll(text, "\"" + package.folder + "\"", named);
    ReplaceAll(text, package.folder + "/", "");
    return text;
}

std::string PageReasonText(bool russian, const std::string& reason, const PagePackage& package) {
    return ShownInPackage(russian ? RussianReason(reason, Matches) : reason, package);
}

}  // namespace pellox
