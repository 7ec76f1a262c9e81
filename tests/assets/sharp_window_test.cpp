// The game window with the built-in pictures on screens with more device
// pixels than game pixels: the window mask and the hit tests stay in game
// pixels and equal those at one pixel per pixel, and every device pixel
// inside the mask is painted, fully and without a purple-ish fringe.
#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/tm_form.h"

namespace pellox {
namespace {

bool NearAKey(QRgb p) {
    for (QRgb key : {qRgb(128, 0, 128), qRgb(255, 0, 255)}) {
        const int d = std::abs(qRed(p) - qRed(key)) + std::abs(qGreen(p) - qGreen(key)) +
                      std::abs(qBlue(p) - qBlue(key));
        if (d < 120) return true;
    }
    return false;
}

PictureSet Builtin() {
    PictureSet pictures;
    EXPECT_TRUE(LoadBuiltinPictures(pictures));
    return pictures;
}

// The game window at its launch size with every sprite lit.
void Launch(TMForm& form) {
    form.ResizeToBackground();
    for (int i = 0; i < kSpriteCount; ++i) form.Sprites().Show(SpriteAt(i));
}

TEST(SharpWindow, MaskStaysInGamePixelsAndThePaintedFrameFillsIt) {
    TMForm one(Builtin());
    Launch(one);
    EXPECT_FALSE(one.PaintedFrame().Active());
    for (const qreal ratio : {2.0, 1.5, 1.25}) {
        SCOPED_TRACE(ratio);
        TMForm sharp(Builtin());
        Launch(sharp);
        sharp.UseDeviceRatio(ratio);
        ASSERT_TRUE(sharp.PaintedFrame().Active());
        EXPECT_EQ(sharp.size(), one.size());
        EXPECT_TRUE(SameArea(sharp.MaskRegion(), one.MaskRegion()));
        EXPECT_EQ(sharp.SpriteAtPoint({500, 300}), one.SpriteAtPoint({500, 300}));

        const QImage& screen = sharp.PaintedFrame().Screen();
        EXPECT_EQ(screen.devicePixelRatio(), ratio);
        ASSERT_EQ(screen.width(), static_cast<int>(std::ceil(one.width() * ratio)));
        ASSERT_EQ(screen.height(), static_cast<int>(std::ceil(one.height() * ratio)));
        // A device pixel belongs to the game pixel its centre lies in.
        int inside = 0, unpainted = 0, fringe = 0;
        for (int y = 0; y < screen.height(); ++y) {
            const int gy = static_cast<int>((y + 0.5) / ratio);
            const auto* line = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
            for (int x = 0; x < screen.width(); ++x) {
                if (IsSeeThrough(one.Frame(), static_cast<int>((x + 0.5) / ratio), gy)) continue;
                ++inside;
                unpainted += qAlpha(line[x]) != 255;
                fringe += NearAKey(line[x]);
            }
        }
        EXPECT_GT(inside, one.width() * one.height() * ratio * ratio / 2);
        EXPECT_EQ(unpainted, 0);
        EXPECT_EQ(fringe, 0);
    }
}

// Only the touched boxes are composed again. At a whole ratio the result is
// the whole new frame exactly; scaled to a fractional one, Qt's filter rounds
// a clipped span by a unit now and then, which nobody can see.
TEST(SharpWindow, ASpriteChangeRepaintsTheSameAsAWholeNewFrame) {
    for (const qreal ratio : {2.0, 1.5}) {
        SCOPED_TRACE(ratio);
        const int tolerance = ratio == 2.0 ? 0 : 2;
        TMForm form(Builtin());
        Launch(form);
        form.UseDeviceRatio(ratio);
        form.Sprites().Hide(SpriteId::imWolf0);
        form.Sprites().Hide(SpriteId::imButtX);  // on the outline
        TMForm fresh(Builtin());
        Launch(fresh);
        fresh.Sprites().Hide(SpriteId::imWolf0);
        fresh.Sprites().Hide(SpriteId::imButtX);
        fresh.UseDeviceRatio(ratio);
        const QImage& step_by_step = form.PaintedFrame().Screen();
        const QImage& whole = fresh.PaintedFrame().Screen();
        ASSERT_EQ(step_by_step.size(), whole.size());
        int differing = 0;
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x) {
                const QRgb a = step_by_step.pixel(x, y), b = whole.pixel(x, y);
                differing += std::abs(qRed(a) - qRed(b)) > tolerance || std::abs(qGreen(a) - qGreen(b)) > tolerance ||
                             std::abs(qBlue(a) - qBlue(b)) > tolerance || qAlpha(a) != qAlpha(b);
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
}  // namespace pellox
