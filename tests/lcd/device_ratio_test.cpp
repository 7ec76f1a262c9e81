// Pictures for screens with more device pixels than game pixels: which whole
// factor a ratio gets, a skin's bitmap enlarged without smoothing, and a
// sprite with a source drawn again by it.
#include <gtest/gtest.h>

#include "lcd/device_ratio.h"
#include "lcd/picture_set.h"

namespace pellox {
namespace {

constexpr QRgb kKey = qRgb(128, 0, 128);

// A 3 x 2 bitmap of five colours and the key in its lower-left pixel.
QImage TinyBitmap() {
    QImage img(3, 2, QImage::Format_RGB32);
    const QRgb colours[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                                {kKey, qRgb(250, 250, 250), qRgb(10, 20, 30)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) img.setPixel(x, y, colours[y][x]);
    return img;
}

TEST(DeviceRatio, FramesRoundUpBitmapsRoundAndNeitherGoesBelowOne) {
    struct Case {
        qreal ratio;
        int sharp, bitmap;
    };
    for (const Case c : {Case{0.75, 1, 1}, Case{1.0, 1, 1}, Case{1.25, 2, 1}, Case{1.5, 2, 2}, Case{1.75, 2, 2},
                         Case{2.0, 2, 2}, Case{2.0000001, 2, 2}, Case{2.25, 3, 2}, Case{3.0, 3, 3}}) {
        SCOPED_TRACE(c.ratio);
        EXPECT_EQ(SharpFactor(c.ratio), c.sharp);
        EXPECT_EQ(BitmapFactor(c.ratio), c.bitmap);
    }
}

TEST(DeviceRatio, ASkinBitmapIsEnlargedByItsWholeFactorPixelByPixel) {
    for (const qreal ratio : {1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        PictureSet pictures;
        pictures.SetPicture(SpriteId::imHare, TinyBitmap(), true);
        pictures.UseRatio(ratio);
        const int k = BitmapFactor(ratio);
        const QImage& one = pictures.Drawable(SpriteId::imHare);
        const QImage& sharp = pictures.Sharp(SpriteId::imHare);
        ASSERT_EQ(sharp.size(), one.size() * k);
        EXPECT_EQ(sharp.devicePixelRatio(), k);  // still drawn at 3 x 2 game pixels
        for (int y = 0; y < sharp.height(); ++y)
            for (int x = 0; x < sharp.width(); ++x)
                ASSERT_EQ(sharp.pixel(x, y), one.pixel(x / k, y / k)) << x << "," << y;
        EXPECT_EQ(qAlpha(sharp.pixel(0, sharp.height() - 1)), 0);  // the key stays see-through
    }
}

TEST(DeviceRatio, PicturesWithASourceAreDrawnAgainBitmapsSetLaterAreNot) {
    PictureSet pictures;
    pictures.SetPicture(SpriteId::imHare, TinyBitmap(), true);
    pictures.SetPicture(SpriteId::imBell, TinyBitmap(), true);
    int calls = 0;
    pictures.SetSharpSource([&calls](SpriteId id, int factor) {
        ++calls;
        if (id == SpriteId::imBell) return QImage(5, 5, QImage::Format_ARGB32_Premultiplied);  // wrong size
        QImage made(3 * factor, 2 * factor, QImage::Format_ARGB32_Premultiplied);
        made.fill(qRgb(1, 2, 3));
        made.setDevicePixelRatio(factor);
        return made;
    });
    EXPECT_EQ(calls, 0);  // nothing is drawn at ratio 1
    pictures.UseRatio(2.0);
    EXPECT_EQ(pictures.Sharp(SpriteId::imHare).pixel(5, 3), qRgb(1, 2, 3));
    // A source that gives a picture of the wrong size is not trusted: enlarged instead.
    EXPECT_EQ(pictures.Sharp(SpriteId::imBell).size(), QSize(6, 4));
    EXPECT_EQ(pictures.Sharp(SpriteId::imBell).pixel(5, 3), qRgb(10, 20, 30));
    // A skin replaces the hare: its bitmap has no source.
    QImage skin = TinyBitmap();
    skin.setPixel(2, 1, qRgb(200, 100, 0));
    pictures.SetPicture(SpriteId::imHare, skin, true);
    EXPECT_EQ(pictures.Sharp(SpriteId::imHare).pixel(5, 3), qRgb(200, 100, 0));
    // Back at one pixel per pixel the sharp picture is the picture itself.
    pictures.UseRatio(1.0);
    EXPECT_EQ(&pictures.Sharp(SpriteId::imHare), &pictures.Drawable(SpriteId::imHare));
}

}  // namespace
}  // namespace pellox
