#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "lcd/press_capture.h"
#include "lcd/sprite_input.h"
#include "lcd/tm_form.h"
#include "picture_fixtures.h"

namespace pellox {
namespace {

constexpr QRgb kCase = 0xff336699u;

// Built-in layout, but only a plain background picture: grey case with a purple corner.
PictureSet BackgroundOnly() {
    QImage bg = testing::Filled(875, 532, kCase, qRgb(255, 0, 255));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) bg.setPixel(x, y, qRgb(255, 0, 255));
    bg.setPixel(300, 150, qRgb(255, 0, 255));  // a hole under the hare
    PictureSet pictures;
    pictures.SetPicture(SpriteId::imBckgrnd, bg, true);
    return pictures;
}

TEST(TMForm, StartsBorderlessAtItsBuiltinPlaceAndSizeAndGrowsToTheBackground) {
    TMForm form(BackgroundOnly());
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.size(), QSize(804, 533));
    EXPECT_EQ(form.pos(), QPoint(194, 146));
    // The exit button lies beyond the built-in width until the launch resizes.
    EXPECT_FALSE(form.rect().contains(808, 170));
    form.ResizeToBackground();
    EXPECT_EQ(form.size(), QSize(883, 566));
    EXPECT_EQ(form.Frame().size(), QSize(883, 566));
    // The added strip is purple, so it is not part of the window.
    EXPECT_FALSE(form.MaskRegion().contains(QPoint(880, 560)));
    EXPECT_TRUE(form.MaskRegion().contains(QPoint(500, 500)));
}

TEST(PressCapture, AHeldCaptureKeepsThePointerAndAFreshPressStartsAfresh) {
    struct Case {
        const char* what;
        std::optional<SpriteId> captured;
        bool other_buttons_held;
        std::optional<SpriteId> expected;
    };
    const Case cases[] = {
        {"nothing captured", std::nullopt, false, SpriteId::imButtX},
        {"a second button while the first is held", SpriteId::imBckgrnd, true, SpriteId::imBckgrnd},
        {"a press after a release that never came", SpriteId::imBckgrnd, false, SpriteId::imButtX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpriteForPress(c.captured, c.other_buttons_held, SpriteId::imButtX), c.expected) << c.what;
}

// After the window system took a drag of the case, no release came: the next
// click once went to the background and the exit button did nothing.
TEST(TMForm, AClickAfterADragWhoseReleaseNeverCameReachesItsSprite) {
    struct Recorder : SpriteInputHandler {
        std::vector<SpriteId> clicked;
        void SpriteClick(SpriteId id) override { clicked.push_back(id); }
    } recorder;
    TMForm form(BackgroundOnly());
    form.SetInputHandler(&recorder);
    const auto send = [&form](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(form.mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &event);
    };
    send(QEvent::MouseButtonPress, {100, 450}, Qt::LeftButton);  // on the case; its release never comes
    send(QEvent::MouseButtonPress, {310, 170}, Qt::LeftButton);  // on the hare
    send(QEvent::MouseButtonRelease, {310, 170}, Qt::NoButton);
    EXPECT_EQ(recorder.clicked, std::vector<SpriteId>{SpriteId::imHare});
    form.SetInputHandler(nullptr);
}

TEST(TMForm, HitTestFindsTopmostLitSpriteButNotThroughSeeThroughPixels) {
    TMForm form(BackgroundOnly());
    EXPECT_EQ(form.SpriteAtPoint({10, 10}), std::nullopt);           // see-through corner
    EXPECT_EQ(form.SpriteAtPoint({100, 450}), SpriteId::imBckgrnd);
    EXPECT_EQ(form.SpriteAtPoint({310, 170}), SpriteId::imHare);      // its transparent pixels count
    EXPECT_EQ(form.SpriteAtPoint({300, 150}), std::nullopt);          // purple under the hare
    form.Sprites().Hide(SpriteId::imHare);
    EXPECT_EQ(form.SpriteAtPoint({310, 170}), SpriteId::imBckgrnd);
}

TEST(TMForm, ShowingASpriteRepaintsOnlyItsBoxAndKeepsTheMask) {
    PictureSet pictures = BackgroundOnly();
    pictures.SetPicture(SpriteId::imEggUL1, testing::Filled(16, 15, qRgb(20, 20, 20), qRgb(255, 0, 255)), true);
    TMForm form(std::move(pictures));
    const QRegion before = form.MaskRegion();
    const QImage old = form.Frame();
    form.Sprites().Show(SpriteId::imEggUL1);
    EXPECT_EQ(form.Frame().pixel(270, 220) | 0xff000000u, qRgb(20, 20, 20));
    EXPECT_TRUE(SameArea(form.MaskRegion(), before));
    // Nothing outside the egg's box changed.
    QImage now = form.Frame();
    for (int y = 0; y < now.height(); y += 7)
        for (int x = 0; x < now.width(); x += 7)
            if (!QRect(265, 216, 16, 15).contains(x, y)) {
                ASSERT_EQ(now.pixel(x, y), old.pixel(x, y)) << x << "," << y;
            }
}

}  // namespace
}  // namespace pellox
