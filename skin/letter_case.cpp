#include "skin/letter_case.h"

#include <algorithm>
#include <array>

#include "skin/skin_text.h"

namespace pellox {
namespace {

// Code points first..last, every step-th one, fold to themselves plus delta.
struct FoldRun {
    char32_t first;
    char32_t last;
    int delta;
    int step;
};

constexpr FoldRun kFoldRuns[] = {
#include "skin/case_fold_runs.inc"
};

}  // namespace

char32_t FoldCase(char32_t c) {
    // The runs are in order and do not overlap: the last one starting at or before c.
    const auto after = std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), c,
                                        [](char32_t code, const FoldRun& run) { return code < run.first; });
    if (after == std::begin(kFoldRuns)) return c;
    const FoldRun& run = *(after - 1);
    if (c > run.last || (c - run.first) % static_cast<char32_t>(run.step) != 0) return c;
    return static_cast<char32_t>(static_cast<int>(c) + run.delta);
}

std::u32string FoldedName(std::string_view bytes) {
    const std::u16string text = DecodeSkinText(std::string(bytes));
    std::u32string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        folded.push_back(FoldCase(c));
    }
    return folded;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    // Most names of a folder differ in plain ASCII already: no decoding then.
    const auto plain = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (plain(a) && plain(b)) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return FoldCase(static_cast<unsigned char>(x)) == FoldCase(static_cast<unsigned char>(y));
               });
    }
    return FoldedName(a) == FoldedName(b);
}

}  // namespace pellox
