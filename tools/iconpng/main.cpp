// iconpng IN.svg SIZE OUT.png: the program's icon for the desktop, rendered
// from its SVG source at SIZE x SIZE pixels with a real alpha channel (the
// in-game pictures use a key colour instead; a desktop icon must not).
// Exit status: 0 written, 1 bad arguments, 2 unusable SVG, 3 cannot write.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "raster/icon_raster.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime_dir;  // keeps Qt quiet about a missing XDG_RUNTIME_DIR
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime_dir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_dir.path()));
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: iconpng IN.svg SIZE OUT.png\n");
        return 1;
    }
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[2]).toInt(&ok);
    if (!ok || size < 8 || size > 1024) {
        std::fprintf(stderr, "iconpng: size must be 8 to 1024\n");
        return 1;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    const QImage icon =
        source.open(QIODevice::ReadOnly) ? pellox::RasterizeIcon(source.readAll(), size) : QImage();
    if (icon.isNull()) {
        std::fprintf(stderr, "iconpng: cannot read %s\n", argv[1]);
        return 2;
    }
    if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "iconpng: cannot write %s\n", argv[3]);
        return 3;
    }
    return 0;
}
