#pragma once
// The built-in pictures, embedded as Qt resources ":/builtin/sprites/<name>.bmp"
// (24-bit bitmaps of the built-in layout's sizes, key colour in the lower-left
// pixel).

#include <QImage>
#include <QString>

#include "base/result.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {

class PictureSet;

// Makes sure the embedded pictures are registered. Linking
// pellox_assets_sprites registers them already; calling this is harmless and
// guards against a linker that drops the registration.
void InitBuiltinSprites();

// The resource path of a built-in picture, e.g. ":/builtin/sprites/imHare.bmp".
QString BuiltinSpritePath(const QString& spriteName);

// The resource path of a built-in picture's SVG source,
// e.g. ":/builtin/sprite-sources/imHare.svg".
QString BuiltinSpriteSourcePath(const QString& spriteName);

// A built-in picture drawn again from its SVG source at a whole factor, ready
// to draw (see-through pixels cleared, device pixel ratio = factor); null if
// the source is missing or unusable.
QImage RenderBuiltinSprite(SpriteId id, int factor);

// Registers the embedded pictures and loads every sprite's built-in picture;
// the picture set makes them again from their sources for a screen with more
// device pixels. Fails naming the first missing one.
Result<void> LoadBuiltinPictures(PictureSet& pictures);

}  // namespace pellox
