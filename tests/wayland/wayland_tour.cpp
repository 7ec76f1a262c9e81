// The game on a real window system, driven from outside: the start screen
// shows, "start" presses its start button (the real launch of the built-in
// game), "frame FILE" saves the game window's composed picture, "exit" presses
// the game's exit button and the program ends with the launch's status.
// tools/wayland/run_on_weston.sh feeds the commands on stdin, one a line, and
// takes screenshots whenever a line on stdout says a window is up.
//
// The presses are posted to the widgets, not made by a pointer: weston's
// headless back-end has no seat, so nothing can click there.

#include <cstdio>
#include <iostream>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "assets/sprites/builtin_sprites.h"
#include "records/settings_records_store.h"
#include "gamewindow/game_window.h"
#include "media/game_sounds.h"
#include "startscreen/thb_form.h"

namespace pellox {
namespace {

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

TMForm* GameForm() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TMForm*>(widget); form && form->isVisible()) return form;
    return nullptr;
}

// Says `line` once find() gives a widget whose window is exposed, and the
// picture has had time to reach the screen.
template <typename Find>
void SayWhenShown(QObject* owner, Find find, std::string line) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, owner, [find, poll, line] {
        QWidget* widget = find();
        const QWindow* window = widget ? widget->windowHandle() : nullptr;
        if (!widget || !widget->isVisible() || !window || !window->isExposed()) return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(300, [line] { Say(line); });
    });
    poll->start(20);
}

void Press(QWidget& widget, QPoint at, QEvent::Type type, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void Command(THBForm& start_screen, const std::string& line) {
    if (line == "start") {
        auto* button = start_screen.findChild<QAbstractButton*>(QStringLiteral("btStart"));
        if (!button) return Say("error: no start button");
        SayWhenShown(&start_screen, [] { return GameForm(); }, "game window shown");
        // The launch runs the game window's own event loop: leave this handler first.
        QTimer::singleShot(0, button, [button] { button->click(); });
    } else if (line.rfind("frame ", 0) == 0) {
        TMForm* form = GameForm();
        if (!form) return Say("error: no game window");
        Say(std::string("see-through by ") + (form->SeeThrough() == SeeThroughBy::Alpha ? "alpha" : "shape mask"));
        const QString file = QString::fromStdString(line.substr(6));
        Say(form->Frame().save(file, "PNG") ? "frame saved" : "error: frame not saved");
    } else if (line == "exit") {
        TMForm* form = GameForm();
        if (!form) return Say("error: no game window");
        const Bounds& b = form->Sprites().BoundsOf(SpriteId::imButtX);
        const QPoint centre(b.left + b.width / 2, b.top + b.height / 2);
        Press(*form, centre, QEvent::MouseButtonPress, Qt::LeftButton);
        Press(*form, centre, QEvent::MouseButtonRelease, Qt::NoButton);
    } else {
        Say("error: unknown command " + line);
    }
}

}  // namespace
}  // namespace pellox

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir records_dir;

    pellox::StartScreenSetup setup;
    setup.make_game_window = [&records_dir]() -> std::unique_ptr<pellox::GameWindow> {
        pellox::PictureSet pictures;
        if (const auto loaded = pellox::LoadBuiltinPictures(pictures); !loaded) {
            pellox::Say("error: " + loaded.reason());
            return nullptr;
        }
        return std::make_unique<pellox::GameWindow>(
            std::move(pictures), pellox::MakeGameSound(),
            std::make_unique<pellox::SettingsRecordsStore>(records_dir.filePath(QStringLiteral("records.conf"))));
    };
    pellox::THBForm start_screen(std::move(setup));
    pellox::Say("platform " + QGuiApplication::platformName().toStdString());
    start_screen.show();
    pellox::SayWhenShown(&start_screen, [&start_screen] { return &start_screen; }, "start screen shown");

    QSocketNotifier commands(fileno(stdin), QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, &start_screen, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            commands.setEnabled(false);  // the driver has gone: nothing more will come
            return;
        }
        pellox::Command(start_screen, line);
    });
    const int status = app.exec();
    pellox::Say("exit status " + std::to_string(status));
    return status;
}
