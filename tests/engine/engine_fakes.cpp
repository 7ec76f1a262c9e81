#include "engine_fakes.h"

namespace pellox::testing {

int EngineTest::Digit(int place) const {
    static const std::array<std::array<int, 7>, 11> patterns{{
        {1, 1, 1, 0, 1, 1, 1}, {0, 0, 1, 0, 0, 1, 0}, {1, 0, 1, 1, 1, 0, 1}, {1, 0, 1, 1, 0, 1, 1},
        {0, 1, 1, 1, 0, 1, 0}, {1, 1, 0, 1, 0, 1, 1}, {1, 1, 0, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 1, 0},
        {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 0, 1, 1}, {0, 0, 0, 0, 0, 0, 0},
    }};
    std::array<int, 7> lit{};
    for (std::size_t k = 0; k < 7; ++k)
        lit[k] = Lit(tables.SegmentSprites[static_cast<std::size_t>(place - 1)][k]) ? 1 : 0;
    for (int v = 0; v <= 10; ++v)
        if (patterns[static_cast<std::size_t>(v)] == lit) return v;
    return -1;
}

std::string EngineTest::Shown() const {
    std::string text;
    for (int place = 4; place >= 1; --place) {
        const int d = Digit(place);
        text += d == 10 ? ' ' : (d < 0 ? '?' : static_cast<char>('0' + d));
    }
    return text;
}

}  // namespace pellox::testing
