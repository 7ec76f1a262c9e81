#pragma once
// Distribution figures for the benchmarks.

#include <algorithm>
#include <cmath>
#include <vector>

namespace pellox::bench {

struct Summary {
    double min = 0, p50 = 0, p90 = 0, p95 = 0, p99 = 0, max = 0;
};

inline Summary Summarise(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    auto at = [&](double q) {
        const auto i = static_cast<std::size_t>(std::ceil(q * values.size())) - 1;
        return values[std::min(i, values.size() - 1)];
    };
    s.min = values.front();
    s.p50 = at(0.50);
    s.p90 = at(0.90);
    s.p95 = at(0.95);
    s.p99 = at(0.99);
    s.max = values.back();
    return s;
}

}  // namespace pellox::bench
