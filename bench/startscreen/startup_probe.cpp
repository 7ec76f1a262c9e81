// startup_probe --start-screen | --bare
//
// Starts as the game does and prints, on the first paint of its window, the
// wall clock in nanoseconds (CLOCK_REALTIME), then quits. startup_bench.py
// takes the time before starting the process and subtracts. --start-screen
// makes the game's start screen as app/main.cpp does (the skin search from
// the current folder; the game window with the built-in pictures made after
// the first paint); --bare shows an empty window of the same size.
#include <time.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "assets/sprites/builtin_sprites.h"
#include "engine/records/settings_records_store.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "startscreen/skin/skin_search_roots.h"
#include "startscreen/thb_form.h"

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // After this paint has been handled: the window is painted.
            QMetaObject::invokeMethod(
                this, [] {
                    timespec now{};
                    clock_gettime(CLOCK_REALTIME, &now);
                    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    QApplication app(argc, argv);
    FirstPaint first_paint;
    std::unique_ptr<QWidget> window;
    pellox::PictureSet pictures;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(603, 391);
        window->move(169, 110);
    } else {
        pellox::StartScreenSetup setup;
        setup.search_roots = pellox::SkinSearchRoots(pellox::SkinSearchEnvironment::FromProcess());
        setup.make_game_window = [&pictures]() -> std::unique_ptr<pellox::GameWindow> {
            if (!pellox::LoadBuiltinPictures(pictures, nullptr)) return nullptr;
            return std::make_unique<pellox::GameWindow>(std::move(pictures), pellox::MakeGameSound(),
                                                        std::make_unique<pellox::SettingsRecordsStore>());
        };
        window = std::make_unique<pellox::THBForm>(std::move(setup));
    }
    window->installEventFilter(&first_paint);
    window->show();
    return app.exec();
}
