// Prints Unicode's simple case folding as the runs of skin/case_fold_runs.inc,
// from Qt's own tables (QChar::toCaseFolded). The game's fold is plain C++
// and reads the runs; tests/skin/letter_case_test.cpp compares it with Qt for
// every code point, so a new Qt with a newer Unicode shows up there.
//
//   g++ -std=c++20 -fPIC tools/casefold/print_case_fold_runs.cpp \
//       $(pkg-config --cflags --libs Qt6Core) -o /tmp/print_case_fold_runs
//   /tmp/print_case_fold_runs > skin/case_fold_runs.inc

#include <QChar>

#include <cstdio>
#include <vector>

namespace {

// Code points first..last, every step-th one, fold to themselves plus delta.
struct Run {
    char32_t first;
    char32_t last;
    int delta;
    int step;
};

}  // namespace

int main() {
    std::vector<Run> runs;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const char32_t folded = QChar::toCaseFolded(c);
        if (folded == c) continue;
        const int delta = static_cast<int>(folded) - static_cast<int>(c);
        if (!runs.empty()) {
            Run& run = runs.back();
            const bool same = run.delta == delta;
            if (same && c == run.last + static_cast<char32_t>(run.step) && (run.first != run.last || run.step == 1)) {
                run.last = c;
                continue;
            }
            // A run of one becomes a run of every other code point
            // (Latin Extended and Cyrillic pair capitals and small letters so).
            if (same && run.first == run.last && c == run.last + 2) {
                run.step = 2;
                run.last = c;
                continue;
            }
        }
        runs.push_back({c, c, delta, 1});
    }
    std::printf("// Unicode simple case folding (CaseFolding.txt, status C and S) as runs:\n"
                "// first, last, what to add, every how many. Printed by\n"
                "// tools/casefold/print_case_fold_runs.cpp; do not edit by hand.\n");
    for (const Run& run : runs)
        std::printf("{0x%04X, 0x%04X, %d, %d},\n", static_cast<unsigned>(run.first), static_cast<unsigned>(run.last),
                    run.delta, run.step);
}
