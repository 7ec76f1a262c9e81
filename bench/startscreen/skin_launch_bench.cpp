// A whole skin launch: the exported built-in game (82 bitmaps, 8 waves) applied
// over a fresh game window, from reading the skin file to the window painted.
//
// skin_launch_bench [launches]   (default 20)
//
// Each launch makes a new game window first (not timed: the game makes it
// before the start button is pressed), then times PrepareLaunch, ApplySkin,
// FinishLaunch, showing the window and its first paint. Runs on Qt's offscreen
// platform unless QT_QPA_PLATFORM says otherwise; the sound is the game's own
// (silent without a device: the waves are still read and checked).
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

#include <QApplication>

#include "assets/sprites/builtin_sprites.h"
#include "records/settings_records_store.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "startscreen/launch.h"
#include "skincommands/skin_export.h"

namespace {
using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int launches = argc > 1 ? std::atoi(argv[1]) : 20;

    namespace fs = std::filesystem;
    std::string name = (fs::temp_directory_path() / "pellox-launch-bench-XXXXXX").string();
    if (!mkdtemp(name.data())) return 1;
    const fs::path root = name;
    std::ostringstream out, err;
    if (pellox::ExportSkinCommand(root / "skin", out, err) != 0) {
        std::fprintf(stderr, "%s", err.str().c_str());
        return 1;
    }
    const fs::path skin = root / "skin" / std::string(pellox::kExportedSkinFile);
    const QString records = QString::fromStdString((root / "records.conf").string());

    std::vector<double> ms;
    std::size_t failures = 0;
    for (int i = 0; i < launches; ++i) {
        pellox::PictureSet pictures;
        if (!pellox::LoadBuiltinPictures(pictures)) return 1;
        pellox::GameWindow window(std::move(pictures), pellox::MakeGameSound(),
                                  std::make_unique<pellox::SettingsRecordsStore>(records));
        const auto start = Clock::now();
        pellox::PrepareLaunch(window);
        failures += pellox::ApplySkin(window, skin).size();
        pellox::FinishLaunch(window);
        window.Form().show();
        window.Form().repaint();
        ms.push_back(Ms(Clock::now() - start));
        window.FrameTimer().SetEnabled(false);
        window.Form().close();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("skin launch, first entry to window painted (%d launches, %zu failed entries)\n", launches, failures);
    std::printf("min %.1f ms  p50 %.1f ms  p90 %.1f ms  max %.1f ms\n", ms.front(), ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.back());
    std::error_code ec;
    fs::remove_all(root, ec);
    return failures == 0 ? 0 : 1;
}
