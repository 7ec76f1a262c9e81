#include "startscreen/skin/launch.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace pellox {

void PrepareBuiltinGame(GameWindow& window) {
    window.Controls().Keys() = ControlKeys{};  // W, O, D, K
    // The engine holds its sprite tables from its creation: nothing to bind here.
    window.Engine().PrepareLaunch();
    window.Texts().TitleSU = kBuiltinTitle;
    window.Texts().TitleGB = kBuiltinTitle;

    QCoreApplication::processEvents();
    window.Form().ResizeToBackground();
    QCoreApplication::processEvents();
    window.FrameTimer().SetEnabled(true);
}

void RunGameWindow(GameWindow& window) {
    TMForm& form = window.Form();
    QEventLoop loop;
    QObject::connect(&form, &TMForm::Closed, &loop, &QEventLoop::quit);
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    form.activateWindow();
    if (form.isVisible()) loop.exec();
}

void btStartClick(GameWindow& window) {
    PrepareBuiltinGame(window);
    RunGameWindow(window);
}

}  // namespace pellox
