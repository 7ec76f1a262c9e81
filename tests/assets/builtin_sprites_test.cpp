// The embedded built-in pictures drawn again for a screen with more device
// pixels, and where they are found. What every shipped picture set holds is
// in picture_sets_test.cpp.
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

QRgb ToQRgb(Rgb c) { return qRgb(c.r, c.g, c.b); }

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

class BuiltinSprites : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitBuiltinSprites(); }
};

// At two device pixels per game pixel every picture is drawn again from its
// source: twice the size, every pixel fully drawn or fully see-through, and
// no purple-ish pixel along the edges of the drawn parts.
TEST_F(BuiltinSprites, AtRatioTwoEveryPictureIsDrawnAgainAtTwiceItsSizeWithCleanEdges) {
    PictureSet pictures;
    ASSERT_TRUE(LoadBuiltinPictures(pictures));
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
