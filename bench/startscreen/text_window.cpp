// text_window: the floor under the game's start-up. The bare window
// (bare_window.cpp) with two lines of text in the two faces the start screen
// shows, its 11 px sans serif and its 16 px bold: what any window with text
// pays on top of an empty one (the font database, two faces, shaping and
// glyphs), before anything of the game's own.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace {

QLabel* Line(QWidget* parent, const QString& text, const QFont& font, int top) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setGeometry(104, top, 385, 25);
    return label;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(603, 391);
    window.move(169, 110);
    window.setWindowTitle(QStringLiteral("text window"));
    window.setAutoFillBackground(true);
    QPalette green = window.palette();
    green.setColor(QPalette::Window, QColor(0, 142, 0));
    window.setPalette(green);
    QFont regular(QStringLiteral("Sans Serif"));
    regular.setStyleHint(QFont::SansSerif);
    regular.setPixelSize(11);
    QFont bold = regular;
    bold.setBold(true);
    bold.setPixelSize(16);
    Line(&window, QStringLiteral("Yes, I’ve seen this thousands of times! Read it all through!! Let me play!!!"),
         regular, 360);
    Line(&window, QStringLiteral("Pellox: “Kestrow”, a wolf and eggs, as in ’80s pocket LCD games."), bold, 8);
    window.show();
    return app.exec();
}
