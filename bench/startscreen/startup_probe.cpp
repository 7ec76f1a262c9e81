// startup_probe --start-screen | --bare | --game-window | --menu-filled | --start-click | --hover-click
//               | --widgets-behind-picture FOLDER
//
// Starts as the game does and prints, on the first paint of its window, the
// wall clock in nanoseconds (CLOCK_REALTIME) and the peak resident memory so
// far in KiB, then quits. startup_bench.py
// takes the time before starting the process and subtracts. --start-screen
// makes the game's start screen as app/main.cpp does (the skin search from
// the current folder after the first paint; the game window with the
// built-in pictures made by the start button); --bare shows an empty window of the same size;
// --game-window presses the start button as soon as the start screen is
// painted and prints on the game window's first paint; --menu-filled prints
// when the skin search has ended and the menu holds every skin;
// --start-click leaves the painted start screen alone for a second, as a
// player reads it, then presses the start button and prints the milliseconds
// from the press to the game window's first paint handled, and the peak
// resident memory in KiB; --hover-click does the same with the pointer
// brought over the start button 150 ms before the press, as a mouse player's
// hand does. --widgets-behind-picture keeps the start screen's first frame in
// FOLDER as the game keeps it in the cache folder, shows the one kept there
// by the run before, and prints when the widgets behind it have been painted.
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "assets/sprites/builtin_sprites.h"
#include "gamepad/gamepad_window.h"
#include "records/settings_records_store.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "skin/skin_search_roots.h"
#include "startscreen/thb_form.h"
#include "tests/support/after_first_paint.h"

namespace {

void PrintPainted() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%lld %ld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, usage.ru_maxrss);
    std::fflush(stdout);
}

void PrintPaintedAndQuit() {
    PrintPainted();
    // Inside the game window's own event loop: no orderly way back is needed.
    std::_Exit(0);
}

// Prints how long ago the start button was pressed when the first window
// other than the start screen has been painted, then quits.
class PressToGamePaint : public QObject {
public:
    void Press(pellox::THBForm& form) {
        start_screen_ = &form;
        pressed_ = std::chrono::steady_clock::now();
        form.btStartClick();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (start_screen_ && event->type() == QEvent::Paint && widget && widget->isWindow() && widget != start_screen_)
            QMetaObject::invokeMethod(this, [this] { PrintAndQuit(); }, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }

private:
    void PrintAndQuit() {
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - pressed_;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%.3f %ld\n", took.count(), usage.ru_maxrss);
        std::fflush(stdout);
        std::_Exit(0);
    }

    pellox::THBForm* start_screen_ = nullptr;
    std::chrono::steady_clock::time_point pressed_;
};

// Prints after the first paint of the start screen's widgets (a picture of
// the last start's may have been painted before), then quits once the start
// screen has kept its frame for the next run (the turn after that paint).
class WidgetsPainted : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* form = event->type() == QEvent::Paint ? qobject_cast<pellox::THBForm*>(watched) : nullptr;
        if (form && !seen_ && form->Built()) {
            seen_ = true;
            QMetaObject::invokeMethod(this, [this] {
                PrintPainted();
                QMetaObject::invokeMethod(this, [] { std::_Exit(0); }, Qt::QueuedConnection);
            }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "--bare") == 0;
    const bool game = argc > 1 && std::strcmp(argv[1], "--game-window") == 0;
    const bool menu = argc > 1 && std::strcmp(argv[1], "--menu-filled") == 0;
    const bool hover = argc > 1 && std::strcmp(argv[1], "--hover-click") == 0;
    const bool click = hover || (argc > 1 && std::strcmp(argv[1], "--start-click") == 0);
    const bool behind_picture = argc > 2 && std::strcmp(argv[1], "--widgets-behind-picture") == 0;
    const std::string pictures_folder = behind_picture ? argv[2] : "";
    PressToGamePaint press;
    QApplication app(argc, argv);
    pellox::AfterFirstPaint game_paint(&PrintPaintedAndQuit);
    std::function<void()> on_first_paint = &PrintPaintedAndQuit;
    std::unique_ptr<QWidget> window;
    pellox::PictureSet pictures;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(603, 391);
        window->move(169, 110);
    } else {
        pellox::StartScreenSetup setup;
        setup.search_roots = pellox::SkinSearchRoots(pellox::SkinSearchEnvironment::FromProcess());
        setup.start_pictures_folder = pictures_folder;
        setup.make_game_window = [&pictures, click]() -> std::unique_ptr<pellox::GameWindow> {
            if (!pellox::LoadBuiltinPictures(pictures)) return nullptr;
            // The press is timed with the window as the game makes it, gamepads and all.
            if (click)
                return pellox::MakeGameWindowWithGamepads(std::move(pictures), pellox::MakeWindowGameSound(),
                                                          std::make_unique<pellox::SettingsRecordsStore>(), QString());
            return std::make_unique<pellox::GameWindow>(std::move(pictures), pellox::MakeWindowGameSound(),
                                                        std::make_unique<pellox::SettingsRecordsStore>());
        };
        auto start_screen = std::make_unique<pellox::THBForm>(std::move(setup));
        if (game) {
            on_first_paint = [form = start_screen.get(), &game_paint] {
                if (!form->LongCreate()) std::_Exit(1);
                form->GameWindowIfCreated()->Form().installEventFilter(&game_paint);
                form->btStartClick();
            };
        }
        if (menu) {
            on_first_paint = [form = start_screen.get()] {
                auto* poll = new QTimer(form);
                QObject::connect(poll, &QTimer::timeout, [form] {
                    // The search starts after the first paint.
                    if (form->SkinMenuStarted() && !form->SkinSearchRunning()) PrintPaintedAndQuit();
                });
                poll->start(1);
            };
        }
        if (click) {
            app.installEventFilter(&press);
            on_first_paint = [form = start_screen.get(), &press, hover] {
                if (hover) {
                    QTimer::singleShot(850, form, [form] {
                        QPushButton& button = form->BtStart();
                        const QPointF inside(button.width() / 2.0, button.height() / 2.0);
                        QEnterEvent enter(inside, inside, button.mapToGlobal(inside));
                        QCoreApplication::sendEvent(&button, &enter);
                    });
                }
                QTimer::singleShot(1000, form, [form, &press] { press.Press(*form); });
            };
        }
        window = std::move(start_screen);
    }
    pellox::AfterFirstPaint first_paint(on_first_paint);
    WidgetsPainted widgets_painted;
    if (behind_picture)
        window->installEventFilter(&widgets_painted);
    else
        window->installEventFilter(&first_paint);
    window->show();
    return app.exec();
}
