#pragma once
// The pictures of the 82 sprites, each kept ready to draw: pixels of the
// picture's key colour already made fully transparent, so drawing is one blit.

#include <array>

#include <QImage>
#include <QString>

#include "lcd/sprite_layout.h"

namespace pellox {

class PictureSet {
public:
    // Takes a decoded picture. transparent: the sprite's flag; the key colour is the
    // lower-left pixel, or white for a one-bit picture.
    void SetPicture(SpriteId id, const QImage& picture, bool transparent);

    // Reads a picture file (see ReadPictureFile). On failure keeps the old
    // picture and says why.
    bool LoadPicture(SpriteId id, const QString& path, bool transparent, QString* error);

    const QImage& Drawable(SpriteId id) const { return drawable_[static_cast<std::size_t>(id)]; }
    QSize NaturalSize(SpriteId id) const { return Drawable(id).size(); }

private:
    std::array<QImage, kSpriteCount> drawable_;
};

// The colour that a transparent picture does not draw.
QRgb KeyColourOf(const QImage& picture);

// The picture as premultiplied ARGB with every key-colour pixel cleared.
QImage MakeDrawable(const QImage& picture, bool transparent);

}  // namespace pellox
