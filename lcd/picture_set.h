#pragma once
// The pictures of the 82 sprites, each kept ready to draw: pixels of the
// picture's key colour already made fully transparent, so drawing is one blit.

#include <array>
#include <bitset>
#include <functional>

#include <QImage>
#include <QString>

#include "base/result.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {

class PictureSet {
public:
    // Makes a sprite's picture again from its source at a whole factor, as a
    // drawable with that device pixel ratio; null when it cannot.
    using SharpSource = std::function<QImage(SpriteId id, int factor)>;

    // Takes a decoded picture. transparent: the sprite's flag; the key colour is the
    // lower-left pixel, or white for a one-bit picture.
    void SetPicture(SpriteId id, const QImage& picture, bool transparent);

    // Reads a picture file (see ReadPictureFile). On failure keeps the old
    // picture and says why (UTF-8).
    Result<void> LoadPicture(SpriteId id, const QString& path, bool transparent);

    const QImage& Drawable(SpriteId id) const { return drawable_[static_cast<std::size_t>(id)]; }
    QSize NaturalSize(SpriteId id) const { return Drawable(id).size(); }

    // Every picture set so far can be made again by source; the ones set
    // later (a skin's bitmaps) cannot.
    void SetSharpSource(SharpSource source);

    // Makes the sharp pictures for a device pixel ratio (see device_ratio.h);
    // at 1 or below there are none.
    void UseRatio(qreal ratio);
    qreal Ratio() const { return ratio_; }
    int Factor() const { return factor_; }

    // The picture for the frame at Factor(): made by source, or the bitmap
    // enlarged without smoothing (its device pixel ratio says by how much).
    const QImage& Sharp(SpriteId id) const;

private:
    void MakeSharp(SpriteId id);

    std::array<QImage, kSpriteCount> drawable_;
    std::array<QImage, kSpriteCount> sharp_;
    std::bitset<kSpriteCount> from_source_;
    SharpSource source_;
    qreal ratio_ = 1.0;
    int factor_ = 1;
};

// The colour that a transparent picture does not draw.
QRgb KeyColourOf(const QImage& picture);

// The picture as premultiplied ARGB with every key-colour pixel cleared.
QImage MakeDrawable(const QImage& picture, bool transparent);

}  // namespace pellox
