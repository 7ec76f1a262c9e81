// svg2bmp --sprite NAME [--under #rrggbb] IN.svg OUT.bmp
// Renders a sprite's SVG source to a 24-bit BMP of the sprite's built-in size,
// with the sprite's key colour in every uncovered pixel. Without --under the
// colour beneath comes from the SVG's data-under attribute (white if none).
// Exit status: 0 written, 1 bad arguments, 2 unusable SVG, 3 cannot write.
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>

#include "lcd/sprite_layout.h"
#include "tools/svg2bmp/sprite_rasterizer.h"

namespace {

int Fail(int code, const QString& message) {
    std::fprintf(stderr, "svg2bmp: %s\n", qPrintable(message));
    return code;
}

constexpr char kUsage[] = "usage: svg2bmp --sprite NAME [--under #rrggbb] IN.svg OUT.bmp";

}  // namespace

int main(int argc, char** argv) {
    // The renderer may need fonts, which need a GUI application; no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;  // keeps Qt quiet about a missing XDG_RUNTIME_DIR
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication app(argc, argv);

    QString sprite, underText, inPath, outPath;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == "--sprite" || a == "--under") && i + 1 < args.size()) {
            (a == "--sprite" ? sprite : underText) = args[++i];
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
    if (sprite.isEmpty() || inPath.isEmpty() || outPath.isEmpty()) return Fail(1, kUsage);

    const auto id = pellox::SpriteByName(sprite.toStdString());
    if (!id) return Fail(1, QStringLiteral("no sprite is called \"%1\"").arg(sprite));
    const pellox::SpriteLayout& layout = pellox::LayoutOf(*id);

    QFile in(inPath);
    if (!in.open(QIODevice::ReadOnly)) {
        return Fail(2, QStringLiteral("%1 cannot be read: %2").arg(inPath, in.errorString()));
    }
    const QByteArray svg = in.readAll();

    QColor under = Qt::white;
    if (!underText.isEmpty()) {
        under = QColor::fromString(underText);
        if (!under.isValid()) return Fail(1, QStringLiteral("bad colour %1").arg(underText));
    } else if (auto fromSvg = pellox::UnderColourOf(svg)) {
        under = *fromSvg;
    }

    pellox::RasterTarget target;
    target.width = layout.bounds.width;
    target.height = layout.bounds.height;
    target.transparent = layout.transparent;
    target.key = QColor(layout.builtinKey.r, layout.builtinKey.g, layout.builtinKey.b);
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
