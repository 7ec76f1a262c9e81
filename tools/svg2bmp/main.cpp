// svg2bmp --sprite NAME [--under #rrggbb] IN.svg OUT.bmp
// svg2bmp --size WxH (--key rrggbb | --opaque) [--under rrggbb] IN.svg OUT.bmp
// Renders a sprite's SVG source to a 24-bit BMP of the sprite's built-in size,
// with the sprite's key colour in every uncovered pixel. A picture that is not
// a layout sprite names its size and either its key colour or --opaque.
// Colours are written with or without the '#'. Without --under the colour
// beneath comes from the SVG's data-under attribute (white if none).
// Exit status: 0 written, 1 bad arguments, 2 unusable SVG, 3 cannot write.
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

#include "lcd/core/sprite_layout.h"
#include "raster/sprite_rasterizer.h"

namespace {

int Fail(int code, const QString& message) {
    std::fprintf(stderr, "svg2bmp: %s\n", qPrintable(message));
    return code;
}

constexpr char kUsage[] =
    "usage: svg2bmp --sprite NAME [--under #rrggbb] IN.svg OUT.bmp\n"
    "       svg2bmp --size WxH (--key rrggbb | --opaque) [--under rrggbb] IN.svg OUT.bmp";

}  // namespace

int main(int argc, char** argv) {
    // The renderer may need fonts, which need a GUI application; no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;  // keeps Qt quiet about a missing XDG_RUNTIME_DIR
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication app(argc, argv);

    QString sprite, sizeText, keyText, underText, inPath, outPath;
    bool opaque = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        QString* value = a == "--sprite" ? &sprite
                         : a == "--size" ? &sizeText
                         : a == "--key"  ? &keyText
                         : a == "--under" ? &underText
                                          : nullptr;
        if (value && i + 1 < args.size()) {
            *value = args[++i];
        } else if (a == "--opaque") {
            opaque = true;
        } else if (a.startsWith("--")) {
            return Fail(1, QStringLiteral("unknown option %1\n%2").arg(a, kUsage));
        } else if (inPath.isEmpty()) {
            inPath = a;
        } else if (outPath.isEmpty()) {
            outPath = a;
        } else {
            return Fail(1, kUsage);
        }
    }
    if (inPath.isEmpty() || outPath.isEmpty()) return Fail(1, kUsage);

    pellox::RasterTarget target;
    if (!sprite.isEmpty()) {
        if (!sizeText.isEmpty() || !keyText.isEmpty() || opaque) {
            return Fail(1, QStringLiteral("--sprite takes its size and key from the layout\n%1").arg(kUsage));
        }
        const auto id = pellox::SpriteByName(sprite.toStdString());
        if (!id) return Fail(1, QStringLiteral("no sprite is called \"%1\"").arg(sprite));
        target = pellox::SpriteRasterTarget(*id);
    } else if (!sizeText.isEmpty()) {
        const auto size = pellox::ParseSize(sizeText);
        if (!size) return Fail(1, QStringLiteral("bad size %1 (want WxH, e.g. 36x24)").arg(sizeText));
        if (opaque == !keyText.isEmpty()) {
            return Fail(1, QStringLiteral("--size needs exactly one of --key and --opaque\n%1").arg(kUsage));
        }
        target.width = size->width();
        target.height = size->height();
        target.transparent = !opaque;
        if (!opaque) {
            const auto key = pellox::ParseColour(keyText);
            if (!key) return Fail(1, QStringLiteral("bad colour %1").arg(keyText));
            target.key = *key;
        }
    } else {
        return Fail(1, kUsage);
    }

    QFile in(inPath);
    if (!in.open(QIODevice::ReadOnly)) {
        return Fail(2, QStringLiteral("%1 cannot be read: %2").arg(inPath, in.errorString()));
    }
    const QByteArray svg = in.readAll();

    QColor under = Qt::white;
    if (!underText.isEmpty()) {
        const auto parsed = pellox::ParseColour(underText);
        if (!parsed) return Fail(1, QStringLiteral("bad colour %1").arg(underText));
        under = *parsed;
    } else if (auto fromSvg = pellox::UnderColourOf(svg)) {
        under = *fromSvg;
    }
    target.under = under;

    const pellox::RasterResult result = pellox::RasterizeSvg(svg, target);
    if (result.image.isNull()) return Fail(2, QStringLiteral("%1: %2").arg(inPath, result.error));
    if (!result.warning.isEmpty()) std::fprintf(stderr, "svg2bmp: %s: %s\n", qPrintable(inPath), qPrintable(result.warning));

    QSaveFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) || !result.image.save(&out, "BMP") || !out.commit()) {
        return Fail(3, QStringLiteral("%1 cannot be written: %2").arg(outPath, out.errorString()));
    }
    return 0;
}
