// The engine's frame tick timed on its own: games of B played by a player
// who always turns to the chute that just moved, each from 0 for 2000 ticks,
// with silent ports that never wait. The same file is built natively and
// with emscripten (for Node and for the browser), so the figures compare the
// builds. Prints one JSON line: nanoseconds per tick, median and best of the runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/engine/tick_rig.h"

namespace {

constexpr int kTicksPerGame = 2000;

double NanosecondsPerTick(int games) {
    pellox::bench::Rig rig;
    rig.pump.engine = &rig.engine;
    const auto start = std::chrono::steady_clock::now();
    long long ticks = 0;
    for (int g = 0; g < games; ++g) {
        rig.engine.DemoInit();
        rig.engine.PressGameButton(pellox::Variant::B);
        rig.engine.ReleaseGameButton();
        for (int t = 0; t < kTicksPerGame; ++t, ++ticks) rig.engine.dxTimerTimer();
    }
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    if (rig.engine.Score() == 0) std::fprintf(stderr, "tick_bench: the player caught nothing\n");
    return took.count() / static_cast<double>(ticks);
}

}  // namespace

// Exported for the browser's page, which calls it with the number of runs.
extern "C" double RunTickBench(int runs) {
    NanosecondsPerTick(300);  // warm up (and let the WebAssembly compiler tier up)
    std::vector<double> ns;
    for (int r = 0; r < runs; ++r) ns.push_back(NanosecondsPerTick(1000));
    std::sort(ns.begin(), ns.end());
    std::printf("{\"median_ns_per_tick\": %.1f, \"best_ns_per_tick\": %.1f, \"runs\": %d}\n", ns[ns.size() / 2],
                ns.front(), runs);
    std::fflush(stdout);
    return ns[ns.size() / 2];
}

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    RunTickBench(runs);
    return 0;
}
