#include <gtest/gtest.h>

#include "lcd/tm_form.h"
#include "lcd/window_transparency.h"
#include "picture_fixtures.h"

namespace pellox {
namespace {

constexpr QRgb kPurple = 0xff800080u;

TEST(WindowTransparency, OnlyWaylandPlatformsSeeThroughByAlpha) {
    const struct {
        const char* platform;
        SeeThroughBy way;
    } cases[] = {
        {"xcb", SeeThroughBy::ShapeMask},   {"offscreen", SeeThroughBy::ShapeMask},
        {"minimal", SeeThroughBy::ShapeMask}, {"", SeeThroughBy::ShapeMask},
        {"wayland", SeeThroughBy::Alpha},   {"wayland-egl", SeeThroughBy::Alpha},
    };
    for (const auto& c : cases) EXPECT_EQ(SeeThroughFor(QString::fromLatin1(c.platform)), c.way) << c.platform;
}

TEST(WindowTransparency, KeyedOutPictureHasOnlyExactPurpleTransparentAndIsCutToTheFrame) {
    QImage frame(4, 3, QImage::Format_ARGB32_Premultiplied);
    frame.fill(qRgb(10, 20, 30));
    frame.setPixel(1, 1, kPurple);
    frame.setPixel(2, 1, qRgb(129, 0, 128));  // nearly purple is drawn, not cut
    frame.setPixel(3, 2, kPurple);

    const QImage all = PurpleKeyedOut(frame, frame.rect());
    ASSERT_EQ(all.size(), frame.size());
    EXPECT_EQ(all.pixel(1, 1), 0u);
    EXPECT_EQ(all.pixel(3, 2), 0u);
    EXPECT_EQ(all.pixel(2, 1), qRgb(129, 0, 128));
    EXPECT_EQ(all.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_TRUE(all.hasAlphaChannel());

    // A frame in another pixel format is keyed out alike.
    const QImage bytes = PurpleKeyedOut(frame.convertToFormat(QImage::Format_RGBA8888), frame.rect());
    EXPECT_EQ(bytes.pixel(1, 1), 0u);
    EXPECT_EQ(bytes.pixel(2, 1), qRgb(129, 0, 128));

    // An area reaching past the frame gives its part inside, from the area's corner.
    const QImage part = PurpleKeyedOut(frame, QRect(1, 1, 10, 10));
    ASSERT_EQ(part.size(), QSize(3, 2));
    EXPECT_EQ(part.pixel(0, 0), 0u);
    EXPECT_EQ(part.pixel(1, 0), qRgb(129, 0, 128));
    EXPECT_EQ(part.pixel(2, 1), 0u);
}

// A case-coloured background with a purple corner, at the built-in size.
PictureSet CaseWithPurpleCorner() {
    QImage bg = testing::Filled(875, 532, qRgb(51, 102, 153), kPurple);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) bg.setPixel(x, y, kPurple);
    PictureSet pictures;
    pictures.SetPicture(SpriteId::imBckgrnd, bg, true);
    return pictures;
}

TEST(WindowTransparency, GameWindowPaintsPurpleTransparentOnlyWhenSeeingThroughByAlpha) {
    TMForm shaped(CaseWithPurpleCorner(), SeeThroughBy::ShapeMask);
    TMForm clear(CaseWithPurpleCorner(), SeeThroughBy::Alpha);
    EXPECT_FALSE(shaped.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(clear.testAttribute(Qt::WA_TranslucentBackground));
    // Both keep the mask: the window's shape under X11, the input region under Wayland.
    EXPECT_TRUE(SameArea(shaped.MaskRegion(), clear.MaskRegion()));
    EXPECT_FALSE(clear.MaskRegion().contains(QPoint(10, 10)));

    // What each paints into a window buffer that holds something else. A Wayland
    // buffer takes the whole paint, mask or not; render() would cut it to the mask.
    const auto painted = [](TMForm& form) {
        form.clearMask();
        QImage buffer(form.size(), QImage::Format_ARGB32_Premultiplied);
        buffer.fill(qRgb(0, 255, 0));
        form.render(&buffer);
        return buffer;
    };
    const QImage shaped_shown = painted(shaped);
    const QImage clear_shown = painted(clear);
    EXPECT_EQ(shaped_shown.pixel(10, 10) | 0xff000000u, kPurple);  // cut by the shape, not by the paint
    EXPECT_EQ(qAlpha(clear_shown.pixel(10, 10)), 0);
    EXPECT_EQ(clear_shown.pixel(100, 450), qRgb(51, 102, 153));
    EXPECT_EQ(shaped_shown.pixel(100, 450), qRgb(51, 102, 153));
}

}  // namespace
}  // namespace pellox
