// install_frames_bench [MB] [runs] [--on-window-thread]
//
// How steadily the start screen repaints while a skin archive installs. A
// stored zip of MB megabytes (default 200) holding a skin is made in a
// temporary folder; the start screen (offscreen unless QT_QPA_PLATFORM says
// otherwise) is asked to repaint every 10 ms while the archive installs from
// it, runs times (default 5), and the gaps between the paints it received
// are printed per run: the install's time, the frames, the gap's median, p99
// and longest, then over all runs together. --on-window-thread runs the same install on the window thread
// instead, as the start screen did before, for comparison.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "assets/sprites/builtin_sprites.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "records/settings_records_store.h"
#include "skininstall/install_skins.h"
#include "startscreen/thb_form.h"
#include "tests/skininstall/big_skin_archive.h"
#include "tests/startscreen/frame_clock.h"
#include "tests/support/temp_folder.h"

namespace {

bool LoopUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(5);
    loop.exec();
    return done();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 200;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const bool on_window_thread = argc > 3 && std::strcmp(argv[3], "--on-window-thread") == 0;
    QApplication app(argc, argv);

    pellox::TempFolder temp;
    const std::filesystem::path zip = temp.path() / "Big.zip";
    pellox::test::WriteBigSkinZip(zip, "Big", megabytes * 1000 * 1000);
    const std::filesystem::path skins = temp.path() / "skins";
    const std::filesystem::path empty_root = temp.path() / "no skins here";
    std::filesystem::create_directories(empty_root);

    pellox::StartScreenSetup setup;
    setup.search_roots = {empty_root};
    setup.installed_skins_folder = skins;
    setup.install_skin = [&skins](const std::filesystem::path& source, pellox::SameTitleChoice same_title,
                                  pellox::InstallMonitor& monitor) {
        return pellox::InstallSkins(source, skins, {}, same_title, &monitor);
    };
    pellox::PictureSet pictures;
    setup.make_game_window = [&pictures, &temp]() -> std::unique_ptr<pellox::GameWindow> {
        if (!pellox::LoadBuiltinPictures(pictures)) return nullptr;
        return std::make_unique<pellox::GameWindow>(std::move(pictures), pellox::MakeWindowGameSound(),
                                                    std::make_unique<pellox::SettingsRecordsStore>(
                                                        QString::fromStdString((temp.path() / "r.conf").string())));
    };
    pellox::THBForm form(std::move(setup));
    form.show();
    LoopUntil([&] { return form.SkinMenuStarted() && !form.SkinSearchRunning(); });

    std::printf("%s, %llu MB stored zip, window %s\n", qPrintable(QGuiApplication::platformName()),
                static_cast<unsigned long long>(megabytes), on_window_thread ? "thread installs" : "thread free");
    std::printf("run  install_ms  frames  gap_p50_ms  gap_p99_ms  gap_max_ms\n");
    std::vector<double> all_gaps;
    std::size_t all_frames = 0;
    for (int run = 1; run <= runs; ++run) {
        std::filesystem::remove_all(skins);
        pellox::FrameClock frames(form);
        QElapsedTimer took;
        took.start();
        if (on_window_thread) {
            bool done = false;
            QTimer::singleShot(50, &form, [&] {
                pellox::InstallSkins(zip, skins);
                done = true;
            });
            LoopUntil([&] { return done; });
        } else {
            form.InstallSkinSources({zip});
            LoopUntil([&] { return !form.SkinInstallRunning(); });
        }
        const std::vector<double> gaps = frames.Gaps();
        all_gaps.insert(all_gaps.end(), gaps.begin(), gaps.end());
        all_frames += frames.Frames();
        std::printf("%3d  %10lld  %6zu  %10.1f  %10.1f  %10.1f\n", run, static_cast<long long>(took.elapsed()),
                    frames.Frames(), pellox::FrameClock::Quantile(gaps, 0.5), pellox::FrameClock::Quantile(gaps, 0.99),
                    pellox::FrameClock::Quantile(gaps, 1.0));
        std::fflush(stdout);
    }
    std::printf("all  %10s  %6zu  %10.1f  %10.1f  %10.1f\n", "", all_frames, pellox::FrameClock::Quantile(all_gaps, 0.5),
                pellox::FrameClock::Quantile(all_gaps, 0.99), pellox::FrameClock::Quantile(all_gaps, 1.0));
    return 0;
}
