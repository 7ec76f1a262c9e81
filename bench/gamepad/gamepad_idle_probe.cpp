// The game window's demo for a while, and the CPU time the whole process
// spends on it: without gamepads, with gamepads and nothing plugged in, and
// with one of SDL's virtual controllers plugged in. One mode per run;
// gamepad_idle_bench.py runs them in turn.
//
//   gamepad_idle_probe MODE SECONDS
//
// MODE: keyboard (the game window without gamepads), gamepads (with them,
// nothing plugged in), virtual (one virtual controller plugged in and left
// alone), emptytimer (without gamepads, an empty 10 ms Qt timer beside: what
// reading a controller every 10 ms would cost in wakes alone).
//
// Prints: mode, seconds measured, CPU ms (user + system), frame ticks,
// threads of the process at the end.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <SDL.h>

#include "assets/sprites/builtin_sprites.h"
#include "bench/gamepad/bench_pad.h"
#include "gamepad/gamepad_window.h"
#include "media/game_sounds.h"
#include "records/settings_records_store.h"
#include "startscreen/launch.h"

namespace {

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

int Threads() { return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gamepad_idle_probe keyboard|gamepads|virtual|emptytimer SECONDS\n");
        return 2;
    }
    const std::string mode = argv[1];
    const int seconds = std::atoi(argv[2]);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString records = dir.filePath(QStringLiteral("records.conf"));

    pellox::PictureSet pictures;
    if (!pellox::LoadBuiltinPictures(pictures)) return 1;
    std::unique_ptr<pellox::GameWindow> window;
    if (mode == "keyboard" || mode == "emptytimer")
        window = std::make_unique<pellox::GameWindow>(std::move(pictures), pellox::MakeGameSound(),
                                                      std::make_unique<pellox::SettingsRecordsStore>(records));
    else
        window = pellox::MakeGameWindowWithGamepads(std::move(pictures), pellox::MakeGameSound(),
                                                    std::make_unique<pellox::SettingsRecordsStore>(records),
                                                    pellox::GamepadMappingFileBeside(records));

    QTimer empty;
    if (mode == "emptytimer") {
        QObject::connect(&empty, &QTimer::timeout, [] {});
        empty.start(10);
    }
    long ticks = 0;
    auto& frame = window->FrameTimer();
    frame.OnTimer = [&ticks, inner = frame.OnTimer](pellox::TDXTimer& timer) {
        ++ticks;
        inner(timer);
    };
    pellox::PrepareBuiltinGame(*window);
    window->Form().show();
    window->Form().activateWindow();
    // SDL starts as the window is first shown: the controller is plugged in then.
    if (mode == "virtual") {
        if (!pellox::bench::PlugInBenchPad()) return 1;
        pellox::GamepadsOf(*window)->Update();  // as the hot-plug watch would
        if (pellox::GamepadsOf(*window)->OpenControllers() != 1) return 1;
    }

    // A second to settle (first paints, the first ticks), then the measure.
    double cpu_start = 0;
    long ticks_start = 0;
    QElapsedTimer wall;
    QTimer::singleShot(1000, [&] {
        cpu_start = CpuMs();
        ticks_start = ticks;
        wall.start();
        QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &app, [&] { app.quit(); });
    });
    app.exec();
    const double cpu_ms = CpuMs() - cpu_start;
    std::printf("%s %.3f %.1f %ld %d\n", mode.c_str(), wall.elapsed() / 1e3, cpu_ms, ticks - ticks_start, Threads());
    return 0;
}
