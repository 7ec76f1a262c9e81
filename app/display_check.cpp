#include "app/display_check.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QtGlobal>

namespace pellox {
namespace {

// The value of -platform/--platform (or -display), as Qt reads its own
// options: the next word, the last one given winning. Qt takes no
// "-platform=NAME" (it is left to the game's options, which refuse it) and
// reads on past "--".
QString OptionValue(const QStringList& arguments, const QString& name) {
    QString value;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("-") + name || argument == QStringLiteral("--") + name) value = arguments[++i];
    }
    return value;
}

bool HasX11Display(const QStringList& arguments) {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !OptionValue(arguments, QStringLiteral("display")).isEmpty();
}

bool HasWaylandDisplay() {
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
    // Without the variable a Wayland client tries the default socket.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("wayland-0")));
}

}  // namespace

bool NoDisplayToOpen(const QStringList& arguments) {
    QString platforms = OptionValue(arguments, QStringLiteral("platform"));
    if (platforms.isEmpty()) platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) return !HasX11Display(arguments) && !HasWaylandDisplay();
    // "wayland;xcb" names the platforms to try in turn, each maybe with ":options".
    for (const QString& entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (name == QStringLiteral("xcb")) {
            if (HasX11Display(arguments)) return false;
        } else if (name.startsWith(QStringLiteral("wayland"))) {
            if (HasWaylandDisplay()) return false;
        } else {
            return false;  // not one that needs a display variable
        }
    }
    return true;
}

}  // namespace pellox
