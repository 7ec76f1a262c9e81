#include "assets/startscreen/pictures/startscreen_pictures.h"

#include <cstddef>

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtCore/qresource.h>

#include "raster/sprite_rasterizer.h"
#include "lcd/picture_file.h"
#include "lcd/picture_set.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPelloxStartScreenPicturesResource() {
    Q_INIT_RESOURCE(pellox_startscreen_picture_files);
    Q_INIT_RESOURCE(pellox_startscreen_picture_sources);
}

namespace pellox {
namespace {

void InitStartScreenPictures() {
    static const bool done = (InitPelloxStartScreenPicturesResource(), true);
    (void)done;
}

const StartScreenPictureEntry& EntryOf(StartScreenPicture which) {
    return kStartScreenPictures[static_cast<std::size_t>(which)];
}

QLatin1String NameOf(StartScreenPicture which) { return QLatin1String(EntryOf(which).name); }

}  // namespace

QString StartScreenPicturePath(StartScreenPicture which) {
    return QStringLiteral(":/startscreen/pictures/%1.bmp").arg(NameOf(which));
}

bool IsTransparentPicture(StartScreenPicture which) { return EntryOf(which).transparent; }

QSize StartScreenPictureSize(StartScreenPicture which) {
    return {EntryOf(which).width, EntryOf(which).height};
}

QImage LoadStartScreenPicture(StartScreenPicture which, qreal ratio) {
    InitStartScreenPictures();
    const QImage picture = ReadOwnBitmap(StartScreenPicturePath(which));
    if (picture.isNull()) return {};
    const bool transparent = IsTransparentPicture(which);
    if (ratio > 1.0) {
        // Drawn again from the source at exactly the screen's ratio: these
        // pictures sit on a plain window, nothing needs whole device pixels.
        QFile file(QStringLiteral(":/startscreen/picture-sources/%1.svg").arg(NameOf(which)));
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray svg = file.readAll();
            const QSize size = StartScreenPictureSize(which);
            const RasterTarget target{size.width(), size.height(), transparent, QColor(255, 0, 255),
                                      UnderColourOf(svg).value_or(QColor(Qt::white)), ratio, true};
            RasterResult sharp = RasterizeSvg(svg, target);
            if (!sharp.image.isNull()) return std::move(sharp.image);
        }
        // Without its source the picture is shown as it is at one pixel per pixel.
    }
    // The key colour is the lower-left pixel, as for the sprites.
    return MakeDrawable(picture, transparent);
}

QIcon ProgramIcon() {
    InitStartScreenPictures();
    QIcon program;
    // A picture drawn by the build for every size the desktop asks for
    // (docks, task switchers, title bars: a scaled 32 px picture blurs).
    for (int side : {PELLOX_ICON_SIZES}) {
        QImageReader reader(QStringLiteral(":/startscreen/pictures/icons/%1.png").arg(side), "PNG");
        reader.setAutoDetectImageFormat(false);  // no image plugin is asked
        const QImage icon = reader.read();
        if (!icon.isNull()) program.addPixmap(QPixmap::fromImage(icon));
    }
    if (!program.isNull()) return program;
    // Without them the start screen's 32 px picture stands in.
    const QImage picture = LoadStartScreenPicture(StartScreenPicture::Icon);
    return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}

}  // namespace pellox
