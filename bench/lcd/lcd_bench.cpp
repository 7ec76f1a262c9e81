// How long the LCD takes to switch one segment (recompose its box, check the
// mask, queue the repaint) and to rebuild the whole window mask.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/tm_form.h"

namespace {

pellox::PictureSet BuiltinPictures() {
    pellox::PictureSet pictures;
    if (const auto loaded = pellox::LoadBuiltinPictures(pictures); !loaded) qFatal("%s", loaded.reason().c_str());
    return pictures;
}

void BM_ShowHideOneSprite(benchmark::State& state, pellox::SpriteId id) {
    pellox::TMForm form(BuiltinPictures());
    form.ResizeToBackground();
    for (auto _ : state) {
        form.Sprites().Show(id);
        form.Sprites().Hide(id);
    }
    state.SetItemsProcessed(state.iterations() * 2);  // two switches per round
}
BENCHMARK_CAPTURE(BM_ShowHideOneSprite, egg, pellox::SpriteId::imEggUL3);
BENCHMARK_CAPTURE(BM_ShowHideOneSprite, wolf, pellox::SpriteId::imWolf1);
BENCHMARK_CAPTURE(BM_ShowHideOneSprite, segment, pellox::SpriteId::imD1_M);

void BM_FullMaskRebuild(benchmark::State& state) {
    pellox::TMForm form(BuiltinPictures());
    form.ResizeToBackground();
    pellox::WindowMask mask;
    for (auto _ : state) {
        mask.Rebuild(form.Frame());
        benchmark::DoNotOptimize(mask.Region().rectCount());
    }
}
BENCHMARK(BM_FullMaskRebuild);

void BM_FullRecompose(benchmark::State& state) {
    pellox::TMForm form(BuiltinPictures());
    form.ResizeToBackground();
    const pellox::Compositor compositor(form.Sprites(), form.Pictures());
    for (auto _ : state) benchmark::DoNotOptimize(compositor.Compose(form.size()));
}
BENCHMARK(BM_FullRecompose);

// What painting costs on Wayland beyond X11: the painted box copied with its purple made transparent.
void BM_PurpleKeyedOut(benchmark::State& state) {
    pellox::TMForm form(BuiltinPictures());
    form.ResizeToBackground();
    const QRect area = state.range(0) ? form.Frame().rect() : QRect(265, 216, 16, 15);  // the whole window, an egg
    for (auto _ : state) benchmark::DoNotOptimize(pellox::PurpleKeyedOut(form.Frame(), area));
}
BENCHMARK(BM_PurpleKeyedOut)->Arg(1)->Arg(0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
