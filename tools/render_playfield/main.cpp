// Renders the built-in playfield to a PNG with a chosen set of sprites lit.
//
//   render_playfield OUT.png [--lit start|all|none|NAME,NAME,...] [--window]
//
// start: the window as it first appears; all: every sprite; none: the bare
// background; a list: the background and exactly those sprites.
// --window: the launch size (background + 8 x 34) instead of the background's.

#include <cstdio>

#include <QGuiApplication>
#include <QStringList>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/compositor.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: render_playfield OUT.png [--lit start|all|none|NAME,NAME,...] [--window]\n");
    return 2;
}

// Applies a --lit choice to the model; returns false on an unknown sprite name.
bool Light(pellox::SpriteModel& model, const QString& choice) {
    using namespace pellox;
    if (choice == QLatin1String("start")) return true;
    const bool all = choice == QLatin1String("all");
    for (int i = 1; i < kSpriteCount; ++i) model.SetVisible(SpriteAt(i), all);
    if (all || choice == QLatin1String("none")) return true;
    for (const QString& name : choice.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto id = SpriteByName(name.trimmed().toStdString());
        if (!id) {
            std::fprintf(stderr, "render_playfield: no sprite named %s\n", qPrintable(name));
            return false;
        }
        model.Show(*id);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--"))) return Usage();

    QString lit = QStringLiteral("start");
    bool window = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--lit") && i + 1 < args.size()) lit = args[++i];
        else if (args[i] == QLatin1String("--window")) window = true;
        else return Usage();
    }

    pellox::PictureSet pictures;
    if (const auto loaded = pellox::LoadBuiltinPictures(pictures); !loaded) {
        std::fprintf(stderr, "render_playfield: %s\n", loaded.reason().c_str());
        return 1;
    }
    pellox::SpriteModel model;
    if (!Light(model, lit)) return 2;

    const pellox::Bounds& bg = model.BoundsOf(pellox::SpriteId::imBckgrnd);
    const QSize size = window ? QSize(bg.width + 8, bg.height + 34) : QSize(bg.width, bg.height);
    const QImage frame = pellox::Compositor(model, pictures).Compose(size);
    if (!frame.save(args.first(), "PNG")) {
        std::fprintf(stderr, "render_playfield: cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    return 0;
}
