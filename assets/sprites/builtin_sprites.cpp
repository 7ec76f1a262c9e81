#include "assets/sprites/builtin_sprites.h"

#include <QFile>
#include <QImage>
#include <QtCore/qresource.h>

#include "raster/sprite_rasterizer.h"
#include "lcd/picture_file.h"
#include "lcd/picture_set.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPelloxBuiltinSpritesResource() {
    Q_INIT_RESOURCE(pellox_builtin_sprites);
    Q_INIT_RESOURCE(pellox_builtin_sprite_sources);
}

namespace pellox {

void InitBuiltinSprites() {
    static const bool done = (InitPelloxBuiltinSpritesResource(), true);
    (void)done;
}

QString BuiltinSpritePath(const QString& spriteName) {
    return QStringLiteral(":/builtin/sprites/%1.bmp").arg(spriteName);
}

QString BuiltinSpriteSourcePath(const QString& spriteName) {
    return QStringLiteral(":/builtin/sprite-sources/%1.svg").arg(spriteName);
}

QImage RenderBuiltinSprite(SpriteId id, int factor) {
    InitBuiltinSprites();
    QFile file(BuiltinSpriteSourcePath(QString::fromLatin1(NameOf(id).data(), NameOf(id).size())));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray svg = file.readAll();
    RasterTarget target = SpriteRasterTarget(id);
    target.under = UnderColourOf(svg).value_or(QColor(Qt::white));
    target.ratio = factor;
    target.drawable = true;
    return RasterizeSvg(svg, target).image;
}

Result<void> LoadBuiltinPictures(PictureSet& pictures) {
    InitBuiltinSprites();
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        const QString path = BuiltinSpritePath(QString::fromLatin1(NameOf(id).data(), NameOf(id).size()));
        const QImage picture = ReadOwnBitmap(path);
        if (picture.isNull()) return Failure("The built-in picture " + path.toStdString() + " is missing");
        pictures.SetPicture(id, picture, LayoutOf(id).transparent);
    }
    pictures.SetSharpSource(&RenderBuiltinSprite);
    return {};
}

}  // namespace pellox
