// The game window on a screen scaled by Qt to two device pixels per game
// pixel (QT_SCALE_FACTOR, set by the test main before the application is
// made): it takes the ratio by itself, keeps its size in game pixels and
// paints its sharp frame.
#include <gtest/gtest.h>

#include "assets/sprites/builtin_sprites.h"
#include "lcd/tm_form.h"

namespace pellox {
namespace {

TEST(ScaledScreen, TheGameWindowTakesTheScreensRatioAndPaintsItsSharpFrame) {
    PictureSet pictures;
    ASSERT_TRUE(LoadBuiltinPictures(pictures));
    TMForm form(std::move(pictures));
    form.ResizeToBackground();
    EXPECT_EQ(form.devicePixelRatioF(), 2.0);
    ASSERT_TRUE(form.PaintedFrame().Active());
    EXPECT_EQ(form.size(), QSize(883, 566));
    form.show();
    const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage& sharp = form.PaintedFrame().Screen();
    ASSERT_EQ(shot.size(), QSize(1766, 1132));
    int differing = 0, inside = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (IsSeeThrough(form.Frame(), x / 2, y / 2)) continue;
            ++inside;
            differing += (shot.pixel(x, y) | 0xff000000u) != sharp.pixel(x, y);
        }
    }
    EXPECT_GT(inside, 1766 * 1132 / 2);
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace pellox
