// bare_window: the yardstick of the game's start-up. An empty Qt window of the
// start screen's size, place and colour, linking Qt Widgets alone: what any
// Qt program pays to put a window of that size on the screen.
#include <QApplication>
#include <QPalette>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(603, 391);
    window.move(169, 110);
    window.setWindowTitle(QStringLiteral("bare window"));
    // The start screen's green, so that one probe of the screen sees both painted.
    window.setAutoFillBackground(true);
    QPalette green = window.palette();
    green.setColor(QPalette::Window, QColor(0, 142, 0));
    window.setPalette(green);
    window.show();
    return app.exec();
}
