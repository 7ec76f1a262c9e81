// The picture sets the game ships, as the build renders them: the built-in
// game's (embedded) and Night Shift's (a skin folder). One picture per sprite,
// of its box's size, 24 bits per pixel, the key colour in the lower left of
// every picture with see-through pixels, no pixel of the window's see-through
// colour where it is not the key, and no fringe of a key colour anywhere.
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/core/sprite_layout.h"

namespace pellox {
namespace {

QRgb ToQRgb(Rgb c) { return qRgb(c.r, c.g, c.b) & 0xFFFFFF; }

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

QString NameOf(const SpriteLayout& s) { return QString::fromUtf8(s.name.data(), static_cast<qsizetype>(s.name.size())); }

struct PictureSetCase {
    const char* name;
    std::function<QString(const SpriteLayout&)> path;
    // The colour left out of a transparent picture, and of the background.
    std::function<QRgb(const SpriteLayout&)> key;
};

void PrintTo(const PictureSetCase& c, std::ostream* out) { *out << c.name; }

const PictureSetCase kPictureSets[] = {
    {"builtin", [](const SpriteLayout& s) { return BuiltinSpritePath(NameOf(s)); },
     [](const SpriteLayout& s) { return ToQRgb(s.builtinKey); }},
    {"night_shift",
     [](const SpriteLayout& s) { return QStringLiteral(PELLOX_NIGHT_SHIFT_PICTURES "/%1.bmp").arg(NameOf(s)); },
     [](const SpriteLayout&) { return ToQRgb(kPurple); }},
};

class PictureSetTest : public ::testing::TestWithParam<PictureSetCase> {
protected:
    static void SetUpTestSuite() { InitBuiltinSprites(); }

    QImage Load(const SpriteLayout& s) const {
        return QImage(GetParam().path(s)).convertToFormat(QImage::Format_RGB32);
    }
    QRgb Key(const SpriteLayout& s) const { return GetParam().key(s); }
    static QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }
};

TEST_P(PictureSetTest, EverySpriteIsA24BitBitmapOfItsBoxSize) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        SCOPED_TRACE(std::string(s.name));
        QFile file(GetParam().path(s));
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

TEST_P(PictureSetTest, TransparentSpritesCarryTheirKeyInTheLowerLeftAndDrawSomething) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        if (!s.transparent) continue;
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(At(image, 0, image.height() - 1), Key(s));
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) drawn += At(image, x, y) != Key(s);
        // A tenth of the box at least: a picture that draws a few stray pixels is broken art.
        EXPECT_GT(drawn, image.width() * image.height() / 10);
    }
}

// A drawn pixel of exact purple would punch a see-through hole into the window.
TEST_P(PictureSetTest, NoDrawnPixelIsTheWindowsSeeThroughColour) {
    const QRgb purple = ToQRgb(kPurple);
    for (const SpriteLayout& s : BuiltinLayout()) {
        if (s.transparent && Key(s) == purple) continue;  // there purple is the key itself
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        int holes = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) holes += At(image, x, y) == purple;
        EXPECT_EQ(holes, 0);
    }
}

// Pixels close to a key colour but not equal to it would show as a purple or
// pink fringe around the shapes: an edge blended against the key instead of
// what lies beneath.
TEST_P(PictureSetTest, NoPixelIsAlmostAKeyColour) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        int fringe = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = At(image, x, y);
                if (s.transparent && p == Key(s)) continue;
                for (Rgb key : {kPurple, kMagenta}) fringe += Distance(p, ToQRgb(key)) < 120;
            }
        }
        EXPECT_EQ(fringe, 0);
    }
}

TEST_P(PictureSetTest, TheBackgroundIsSeeThroughAroundTheCaseOnly) {
    const SpriteLayout& s = LayoutOf(SpriteId::imBckgrnd);
    const QImage image = Load(s);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(At(image, 0, 0), Key(s));
    EXPECT_EQ(At(image, image.width() - 1, image.height() - 1), Key(s));
    // The LCD and every button stand on the case, never on a see-through pixel.
    for (const SpriteLayout& sprite : BuiltinLayout()) {
        if (&sprite == &s) continue;
        SCOPED_TRACE(std::string(sprite.name));
        const Bounds& b = sprite.bounds;
        int holes = 0;
        for (int y = b.top; y < b.top + b.height; ++y)
            for (int x = b.left; x < b.left + b.width; ++x) holes += At(image, x, y) == Key(s);
        EXPECT_EQ(holes, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, PictureSetTest, ::testing::ValuesIn(kPictureSets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pellox
