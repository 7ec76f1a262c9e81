// The Night Shift skin's pictures as the build renders them: one per sprite,
// of its box's size, 24 bits per pixel, purple in the lower left of every
// picture with see-through pixels, and no purple fringe anywhere.
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>

#include "lcd/core/sprite_layout.h"

namespace pellox {
namespace {

constexpr QRgb kPurpleKey = 0x800080;

QImage Load(const SpriteLayout& s) {
    const QString name = QString::fromUtf8(s.name.data(), s.name.size());
    const QString path = QStringLiteral(PELLOX_NIGHT_SHIFT_PICTURES "/%1.bmp").arg(name);
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

TEST(NightShiftPictures, EachFitsItsBoxKeepsPurpleInTheLowerLeftAndLeavesNoFringe) {
    for (const SpriteLayout& s : BuiltinLayout()) {
        SCOPED_TRACE(std::string(s.name));
        const QImage image = Load(s);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), s.bounds.width);
        EXPECT_EQ(image.height(), s.bounds.height);
        int keyed = 0, fringe = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y) & 0xFFFFFF;
                if (p == kPurpleKey) {
                    ++keyed;
                } else {
                    // An edge blended against purple instead of what lies beneath.
                    fringe += Distance(p, kPurpleKey) < 120;
                }
            }
        }
        EXPECT_EQ(fringe, 0);
        if (s.transparent) {
            EXPECT_EQ(image.pixel(0, image.height() - 1) & 0xFFFFFF, kPurpleKey);
            // A tenth of the box at least is drawn: a few stray pixels are broken art.
            EXPECT_LT(keyed, image.width() * image.height() * 9 / 10);
        } else {
            EXPECT_EQ(keyed, 0) << "a picture drawn whole has no see-through pixel";
        }
    }
}

TEST(NightShiftPictures, TheCaseHoldsTheScreenAndEveryButton) {
    const SpriteLayout& s = LayoutOf(SpriteId::imBckgrnd);
    const QImage image = Load(s);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, kPurpleKey);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1) & 0xFFFFFF, kPurpleKey);
    for (const SpriteLayout& sprite : BuiltinLayout()) {
        if (&sprite == &s) continue;
        SCOPED_TRACE(std::string(sprite.name));
        const Bounds& b = sprite.bounds;
        int holes = 0;
        for (int y = b.top; y < b.top + b.height; ++y)
            for (int x = b.left; x < b.left + b.width; ++x) holes += (image.pixel(x, y) & 0xFFFFFF) == kPurpleKey;
        EXPECT_EQ(holes, 0);
    }
}

}  // namespace
}  // namespace pellox
