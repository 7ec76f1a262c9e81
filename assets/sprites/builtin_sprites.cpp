#include "assets/sprites/builtin_sprites.h"

#include <QtCore/qresource.h>

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

}  // namespace pellox
