// Cost of one frame tick in play and in the demo, with silent ports that
// never wait (the real chute sound holds the tick for about 40 ms).
#include <benchmark/benchmark.h>

#include "bench/engine/tick_rig.h"

namespace pellox {
namespace {

using bench::Rig;

void BM_PlayingTick(benchmark::State& state) {
    Rig rig;
    rig.pump.engine = &rig.engine;
    // Each game is played from 0 for this many ticks, then started anew, so the
    // figure covers the first few hundred points.
    const int ticks_per_game = static_cast<int>(state.range(0));
    int ticks = ticks_per_game;
    for (auto _ : state) {
        if (ticks == ticks_per_game) {
            state.PauseTiming();
            // Back to the demo first: the game buttons arm a game only there
            // or after a game.
            rig.engine.DemoInit();
            rig.engine.PressGameButton(Variant::B);
            rig.engine.ReleaseGameButton();
            ticks = 0;
            state.ResumeTiming();
        }
        rig.engine.dxTimerTimer();
        ++ticks;
    }
    state.counters["score_at_end"] = rig.engine.Score();
}
BENCHMARK(BM_PlayingTick)->Arg(2000);

void BM_DemoTick(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) rig.engine.dxTimerTimer();
    benchmark::DoNotOptimize(rig.engine.Title());
}
BENCHMARK(BM_DemoTick);

}  // namespace
}  // namespace pellox

BENCHMARK_MAIN();
