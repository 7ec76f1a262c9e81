#include "assets/sprites/builtin_sprites.h"

#include <QImage>
#include <QtCore/qresource.h>

#include "lcd/picture_set.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitPelloxBuiltinSpritesResource() { Q_INIT_RESOURCE(pellox_builtin_sprites); }

namespace pellox {

void InitBuiltinSprites() {
    static const bool done = (InitPelloxBuiltinSpritesResource(), true);
    (void)done;
}

QString BuiltinSpritePath(const QString& spriteName) {
    return QStringLiteral(":/builtin/sprites/%1.bmp").arg(spriteName);
}

bool LoadBuiltinPictures(PictureSet& pictures, QString* error) {
    InitBuiltinSprites();
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteId id = SpriteAt(i);
        const QString path = BuiltinSpritePath(QString::fromLatin1(NameOf(id).data(), NameOf(id).size()));
        const QImage picture(path);
        if (picture.isNull()) {
            if (error) *error = QStringLiteral("The built-in picture %1 is missing").arg(path);
            return false;
        }
        pictures.SetPicture(id, picture, LayoutOf(id).transparent);
    }
    return true;
}

}  // namespace pellox
