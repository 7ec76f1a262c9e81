// The player's gamepad mapping file going in beside a played controller: a
// game window with gamepads made as the game makes it, one of SDL's virtual
// controllers plugged in and read by the window thread every 5 ms (as a
// played pad wakes it), while a mapping file of LINES distinct mappings goes
// in on the loader's thread.
//
//   mapping_file_probe LINES [SECONDS]
//
// With SECONDS, the reads go on at least that long (LINES 0 and some seconds:
// the same reads on the same machine without a mapping file, for scale).
//
// Prints: lines, the seconds until the mappings were in, how many reads the
// window thread made meanwhile, and the median, 99th percentile and longest
// read (SDL_PumpEvents through GamepadInput::Update, which waits for SDL's
// lock while the loader holds it) and gap between two reads, in ms.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include "assets/sprites/builtin_sprites.h"
#include "bench/gamepad/bench_pad.h"
#include "gamepad/gamepad_window.h"
#include "media/game_sounds.h"
#include "records/settings_records_store.h"

namespace {

// The shortest mapping lines SDL takes for this platform, each its own GUID.
std::string Mappings(int lines) {
    std::string text;
    char guid[40];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(guid, sizeof guid, "03000000%024x", i + 1);
        text += std::string(guid) + ",P,a:b0,platform:Linux,\n";
    }
    return text;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: mapping_file_probe LINES [SECONDS]\n");
        return 2;
    }
    const int lines = std::atoi(argv[1]);
    const qint64 at_least_ms = argc == 3 ? std::atoi(argv[2]) * 1000LL : 0;
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString records = dir.filePath(QStringLiteral("records.conf"));
    const QString mapping_file = pellox::GamepadMappingFileBeside(records);
    std::ofstream(mapping_file.toStdString(), std::ios::binary) << Mappings(lines);

    pellox::PictureSet pictures;
    if (!pellox::LoadBuiltinPictures(pictures)) return 1;
    QElapsedTimer loading;
    loading.start();
    auto window = pellox::MakeGameWindowWithGamepads(std::move(pictures), pellox::MakeGameSound(),
                                                     std::make_unique<pellox::SettingsRecordsStore>(records),
                                                     mapping_file);
    pellox::GamepadInput& pads = window->Gamepads();
    // SDL, and the mapping file's reading, start as the window is first shown.
    window->Form().show();

    if (!pellox::bench::PlugInBenchPad()) return 1;

    std::vector<double> reads_ms, gaps_ms;
    QElapsedTimer since_read;
    since_read.start();
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        gaps_ms.push_back(static_cast<double>(since_read.nsecsElapsed()) / 1e6);
        QElapsedTimer read;
        read.start();
        pads.Update();
        reads_ms.push_back(static_cast<double>(read.nsecsElapsed()) / 1e6);
        since_read.restart();
        if (pads.MappingsRead() && loading.elapsed() >= at_least_ms) app.quit();
    });
    reader.start(5);
    app.exec();
    std::printf("%d %.3f %zu %.3f %.3f %.3f %.3f %.3f %.3f\n", lines, loading.elapsed() / 1e3, reads_ms.size(),
                Percentile(reads_ms, 0.5), Percentile(reads_ms, 0.99), Percentile(reads_ms, 1.0),
                Percentile(gaps_ms, 0.5), Percentile(gaps_ms, 0.99), Percentile(gaps_ms, 1.0));
    return 0;
}
