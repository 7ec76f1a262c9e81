// Pellox: the program's entry.

#include <QApplication>
#include <QMessageBox>

#include "app/builtin_launch.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pellox"));
    QApplication::setApplicationDisplayName(QString(16, QLatin1Char(' ')));
    return pellox::RunBuiltinGame();
}
