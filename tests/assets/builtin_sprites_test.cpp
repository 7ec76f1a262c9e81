// The embedded built-in pictures: one per sprite, of the layout's size, 24 bits
// per pixel, with the right key colour and no key-coloured fringe.
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/device_ratio.h"
#include "lcd/picture_set.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {
namespace {

QString PathOf(const SpriteLayout& s) { return BuiltinSpritePath(QString::fromUtf8(s.name.data(), s.name.size())); }

QRgb ToQRgb(Rgb c) { return qRgb(c.r, c.g, c.b); }

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

bool IsButton(SpriteId id) {
    return id == SpriteId::imButtA || id == SpriteId::imButtB || id == SpriteId::imButtT ||
           id == SpriteId::imButtS || id == SpriteId::imButtX;
}

class BuiltinSprites : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitBuiltinSprites(); }

    static QImage Load(const SpriteLayout& s) { return QImage(PathOf(s)).convertToFormat(QImage::Format_RGB32); }
};

TEST_F(BuiltinSprites, EverySpriteIsA24BitBitmapOfItsLayoutSize) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        SCOPED_TRACE(std::string(s.name));
        QFile file(PathOf(s));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray raw = file.readAll();
        ASSERT_GE(raw.size(), 54);
        EXPECT_EQ(raw.left(2), QByteArray("BM"));
        const int bitsPerPixel = static_cast<unsigned char>(raw[28]) | static_cast<unsigned char>(raw[29]) << 8;
        EXPECT_EQ(bitsPerPixel, 24);
        const QImage image = Load(s);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), s.bounds.width);
        EXPECT_EQ(image.height(), s.bounds.height);
    }
}

TEST_F(BuiltinSprites, TransparentSpritesCarryTheirKeyInTheLowerLeftAndDrawSomething) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        if (!s.transparent) continue;
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        ASSERT_FALSE(image.isNull());
        const QRgb key = ToQRgb(s.builtinKey);
        EXPECT_EQ(image.pixel(0, image.height() - 1) & 0xFFFFFF, key & 0xFFFFFF);
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) drawn += (image.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF);
        // A tenth of the box at least: a picture that draws a few stray pixels is broken art.
        EXPECT_GT(drawn, image.width() * image.height() / 10);
    }
}

// A drawn pixel of exact purple would punch a see-through hole into the window.
TEST_F(BuiltinSprites, NoDrawnPixelIsTheWindowsSeeThroughColour) {
    const QRgb purple = ToQRgb(kPurple) & 0xFFFFFF;
    for (const SpriteLayout& s : BuiltinLayout()) {
        if (s.transparent && s.builtinKey == kPurple) continue;  // there purple is the key itself
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        int holes = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) holes += (image.pixel(x, y) & 0xFFFFFF) == purple;
        EXPECT_EQ(holes, 0);
    }
}

// Pixels close to a key colour but not equal to it would show as a purple or
// pink fringe around the shapes.
TEST_F(BuiltinSprites, NoPixelIsAlmostAKeyColour) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        const SpriteId id = *SpriteByName(s.name);
        if (id == SpriteId::imBckgrnd) continue;
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        int fringe = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                if (s.transparent && p == (ToQRgb(s.builtinKey) & 0xFFFFFF)) continue;
                for (Rgb key : {kPurple, kMagenta}) fringe += Distance(p, ToQRgb(key)) < 120;
            }
        }
        EXPECT_EQ(fringe, 0) << (IsButton(id) ? "button" : "LCD sprite");
    }
}

TEST_F(BuiltinSprites, BackgroundIsSeeThroughAroundTheCaseOnly) {
    const SpriteLayout& s = LayoutOf(SpriteId::imBckgrnd);
    const QImage image = Load(s);
    const QRgb key = ToQRgb(kMagenta) & 0xFFFFFF;
    auto isKey = [&](int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) == key; };
    EXPECT_TRUE(isKey(0, 0));
    EXPECT_TRUE(isKey(image.width() - 1, image.height() - 1));
    // The LCD and every button stand on the case, never on a see-through pixel.
    for (const SpriteLayout& sprite : BuiltinLayout()) {
        if (&sprite == &s) continue;
        SCOPED_TRACE(std::string(sprite.name));
        const Bounds& b = sprite.bounds;
        for (int y = b.top; y < b.top + b.height; ++y)
            for (int x = b.left; x < b.left + b.width; ++x) ASSERT_FALSE(isKey(x, y)) << x << "," << y;
    }
}

// At two device pixels per game pixel every picture is drawn again from its
// source: twice the size, every pixel fully drawn or fully see-through, and
// no purple-ish pixel along the edges of the drawn parts.
TEST_F(BuiltinSprites, AtRatioTwoEveryPictureIsDrawnAgainAtTwiceItsSizeWithCleanEdges) {
    PictureSet pictures;
    ASSERT_TRUE(LoadBuiltinPictures(pictures, nullptr));
    pictures.UseRatio(2.0);
    for (const SpriteLayout& s : BuiltinLayout()) {
        const SpriteId id = *SpriteByName(s.name);
        SCOPED_TRACE(std::string(s.name));
        const QImage& one = pictures.Drawable(id);
        const QImage& two = pictures.Sharp(id);
        ASSERT_EQ(two.size(), one.size() * 2);
        EXPECT_EQ(two.devicePixelRatio(), 2.0);
        auto clear = [&](int x, int y) { return two.valid(x, y) && qAlpha(two.pixel(x, y)) == 0; };
        int partial = 0, edge_pixels = 0, fringe = 0;
        for (int y = 0; y < two.height(); ++y) {
            for (int x = 0; x < two.width(); ++x) {
                const QRgb p = two.pixel(x, y);
                if (qAlpha(p) == 0) continue;
                partial += qAlpha(p) != 255;
                if (!clear(x - 1, y) && !clear(x + 1, y) && !clear(x, y - 1) && !clear(x, y + 1)) continue;
                ++edge_pixels;
                for (Rgb key : {kPurple, kMagenta}) fringe += Distance(p, ToQRgb(key)) < 120;
            }
        }
        EXPECT_EQ(partial, 0);
        EXPECT_EQ(fringe, 0) << "of " << edge_pixels << " edge pixels";
        if (s.transparent) EXPECT_GT(edge_pixels, 0);
    }
    // Drawn again, not enlarged: the wolf's curves gain pixels a doubled bitmap has not.
    EXPECT_NE(pictures.Sharp(SpriteId::imWolf0), ScaleNearest(pictures.Drawable(SpriteId::imWolf0), 2));
}

TEST(BuiltinSpritePath, NamesTheResource) {
    EXPECT_EQ(BuiltinSpritePath("imHare"), QStringLiteral(":/builtin/sprites/imHare.bmp"));
    InitBuiltinSprites();
    InitBuiltinSprites();  // a second call changes nothing
    EXPECT_FALSE(QImage(BuiltinSpritePath("imHare")).isNull());
}

}  // namespace
}  // namespace pellox
