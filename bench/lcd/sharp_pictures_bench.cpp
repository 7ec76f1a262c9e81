// What a screen with more device pixels than game pixels costs when the game
// window is made: the built-in pictures decoded (as at one pixel per pixel),
// drawn again from their SVG sources at the frame's factor, and the game
// window's frame in game pixels and the one in device pixels composed at its
// launch size with every sprite lit.
//
// sharp_pictures_bench [rounds] [ratios...]   (default 9 rounds; 1 1.5 2 3)
//
// Rounds alternate the ratios; prints the median wall time of each step and,
// since a loaded machine stretches wall times, the median CPU time too.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <time.h>

#include <QApplication>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/tm_form.h"

namespace {
using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
    std::vector<double> ratios;
    for (int i = 2; i < argc; ++i) ratios.push_back(std::atof(argv[i]));
    if (ratios.empty()) ratios = {1.0, 1.5, 2.0, 3.0};

    std::map<double, std::vector<double>> decode, render, compose, decode_cpu, render_cpu, compose_cpu;
    for (int r = 0; r < rounds + 1; ++r) {  // round 0 warms up and is not counted
        for (const double ratio : ratios) {
            const double c0 = CpuMs();
            const auto t0 = Clock::now();
            pellox::PictureSet pictures;
            if (!pellox::LoadBuiltinPictures(pictures)) return 1;
            const auto t1 = Clock::now();
            const double c1 = CpuMs();
            pictures.UseRatio(ratio);
            const auto t2 = Clock::now();
            const double c2 = CpuMs();
            // The launch size, every sprite lit.
            pellox::SpriteModel model;
            for (int i = 0; i < pellox::kSpriteCount; ++i) model.Show(pellox::SpriteAt(i));
            const pellox::Compositor compositor(model, pictures);
            const QImage logical = compositor.Compose(QSize(883, 566));
            pellox::DeviceFrame frame(compositor, pictures);
            frame.Rebuild(logical);
            const auto t3 = Clock::now();
            const double c3 = CpuMs();
            if (r == 0) continue;
            decode_cpu[ratio].push_back(c1 - c0);
            render_cpu[ratio].push_back(c2 - c1);
            compose_cpu[ratio].push_back(c3 - c2);
            decode[ratio].push_back(Ms(t1 - t0));
            render[ratio].push_back(Ms(t2 - t1));
            compose[ratio].push_back(Ms(t3 - t2));
        }
    }
    std::printf("%d rounds, medians in ms, wall / CPU\n%-6s %14s %14s %14s\n", rounds, "ratio", "decode 1x",
                "draw SVGs", "frames");
    for (const double ratio : ratios) {
        std::printf("%-6.2f %6.1f / %5.1f %6.1f / %5.1f %6.1f / %5.1f\n", ratio, Median(decode[ratio]),
                    Median(decode_cpu[ratio]), Median(render[ratio]), Median(render_cpu[ratio]),
                    Median(compose[ratio]), Median(compose_cpu[ratio]));
    }
    return 0;
}
