#pragma once
// The built-in pictures, embedded as Qt resources ":/builtin/sprites/<name>.bmp"
// (24-bit bitmaps of the built-in layout's sizes, key colour in the lower-left
// pixel).

#include <QString>

namespace pellox {

class PictureSet;

// Makes sure the embedded pictures are registered. Linking
// pellox_sprite_assets registers them already; calling this is harmless and
// guards against a linker that drops the registration.
void InitBuiltinSprites();

// The resource path of a built-in picture, e.g. ":/builtin/sprites/imHare.bmp".
QString BuiltinSpritePath(const QString& spriteName);

// Registers the embedded pictures and loads every sprite's built-in picture.
// Returns false and names the first missing one in *error.
bool LoadBuiltinPictures(PictureSet& pictures, QString* error);

}  // namespace pellox
