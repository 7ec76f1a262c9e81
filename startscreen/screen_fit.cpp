#include "startscreen/screen_fit.h"

#include <algorithm>
#include <cmath>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "lcd/core/sprite_layout.h"

namespace pellox {
namespace {

constexpr QSizeF kStartScreen{603, 391};
// A title bar and borders of the larger desktop themes.
constexpr QSizeF kFrame{12, 40};
// The game window is its background plus this (TMForm::ResizeToBackground).
constexpr QSizeF kGameWindowMargin{8, 34};
// Below this the texts are no longer readable: better cut than unreadable.
constexpr double kSmallestFactor = 0.25;

QScreen* ScreenWhereWindowsOpen() {
    if (QScreen* under_pointer = QGuiApplication::screenAt(QCursor::pos())) return under_pointer;
    return QGuiApplication::primaryScreen();
}

}  // namespace

std::vector<QSizeF> WindowsToFit() {
    const Bounds& background = LayoutOf(SpriteId::imBckgrnd).bounds;
    return {kStartScreen + kFrame, QSizeF(background.width, background.height) + kGameWindowMargin};
}

double FittingScaleFactor(const QSizeF& available, const std::vector<QSizeF>& windows) {
    double factor = 1.0;
    for (const QSizeF& window : windows) {
        if (window.isEmpty() || available.isEmpty()) continue;
        factor = std::min({factor, available.width() / window.width(), available.height() / window.height()});
    }
    // Rounded down, so that Qt's own rounding of the scaled screen cannot
    // take the last pixel the windows need.
    return std::max(std::floor(factor * 1000.0) / 1000.0, kSmallestFactor);
}

std::unique_ptr<QApplication> MakeApplicationThatFits(int& argc, char** argv) {
    // QApplication takes its own options out of argv: a second one must see them too.
    std::vector<char*> original(argv, argv + argc + 1);
    const int original_argc = argc;
    auto app = std::make_unique<QApplication>(argc, argv);
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return app;
    const QScreen* screen = ScreenWhereWindowsOpen();
    if (!screen) return app;
    const double factor = FittingScaleFactor(screen->availableGeometry().size(), WindowsToFit());
    if (factor >= 1.0) return app;
    // Qt reads the factor only when the application is made.
    app.reset();
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor, 'f', 4));
    std::copy(original.begin(), original.end(), argv);
    argc = original_argc;
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace pellox
