// bare_window: the yardstick of the game's start-up. An empty Qt window of the
// start screen's size, place and colour, linking Qt Widgets alone: what any
// Qt program pays to put a window of that size on the screen.
//
// Built as text_window (BARE_WINDOW_WITH_TEXT), the same window holds a line
// of text in each of the two faces the start screen shows, its 11 px sans
// serif and its 16 px bold: the floor that text puts under the game's start
// (the font database, two faces, shaping and glyphs), before anything of the
// game's own.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace {

[[maybe_unused]] void AddLine(QWidget& window, const QString& text, const QFont& font, int top) {
    auto* label = new QLabel(text, &window);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setGeometry(104, top, 385, 25);
}

}  // namespace

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
#ifdef BARE_WINDOW_WITH_TEXT
    QFont regular(QStringLiteral("Sans Serif"));
    regular.setStyleHint(QFont::SansSerif);
    regular.setPixelSize(11);
    QFont bold = regular;
    bold.setBold(true);
    bold.setPixelSize(16);
    AddLine(window, QStringLiteral("Pellox: “Kestrow”, a wolf and eggs, as in ’80s pocket LCD games."), bold, 8);
    AddLine(window, QStringLiteral("Yes, I’ve seen this thousands of times! Read it all through!! Let me play!!!"),
            regular, 360);
#endif
    window.show();
    return app.exec();
}
