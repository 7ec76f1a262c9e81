#include <gtest/gtest.h>

#include "lcd/compositor.h"
#include "lcd/window_mask.h"
#include "picture_fixtures.h"

namespace pellox {
namespace {

using testing::Filled;

constexpr QRgb kGrey = 0xff808080u;
constexpr QRgb kRed = 0xffff0000u;
constexpr QRgb kBlue = 0xff0000ffu;
constexpr QRgb kMagentaKey = 0xffff00ffu;
constexpr QRgb kPurpleKey = 0xff800080u;

QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xff000000u; }

// Only the background lit, grey, over a window of 100 x 80.
struct Scene {
    SpriteModel model;
    PictureSet pictures;
    Compositor compositor{model, pictures};

    Scene() {
        for (int i = 1; i < kSpriteCount; ++i) model.Hide(SpriteAt(i));
        model.SetBounds(SpriteId::imBckgrnd, {0, 0, 100, 80});
        pictures.SetPicture(SpriteId::imBckgrnd, Filled(100, 80, kGrey, kMagentaKey), true);
    }
    void Put(SpriteId id, Bounds b, const QImage& picture) {
        model.SetBounds(id, b);
        pictures.SetPicture(id, picture, LayoutOf(id).transparent);
        model.Show(id);
    }
    QImage Frame() { return compositor.Compose({100, 80}); }
};

TEST(Compositor, KeyColourPixelIsNotDrawnEvenInTheMiddle) {
    Scene s;
    QImage egg = Filled(10, 10, kRed, kPurpleKey);
    egg.setPixel(5, 5, kPurpleKey);
    s.Put(SpriteId::imEggUL3, {20, 20, 10, 10}, egg);
    const QImage f = s.Frame();
    EXPECT_EQ(At(f, 25, 25), kGrey);   // key pixel: the background shows through
    EXPECT_EQ(At(f, 20, 29), kGrey);   // the lower-left pixel itself is the key
    EXPECT_EQ(At(f, 24, 25), kRed);
}

TEST(Compositor, BackgroundKeyPixelLeavesTheWindowPurple) {
    Scene s;
    QImage bg = Filled(100, 80, kGrey, kMagentaKey);
    bg.setPixel(50, 40, kMagentaKey);
    s.pictures.SetPicture(SpriteId::imBckgrnd, bg, true);
    const QImage f = s.Frame();
    EXPECT_EQ(At(f, 50, 40), kWindowPurple);
    EXPECT_EQ(At(f, 0, 79), kWindowPurple);
}

TEST(Compositor, LaterSpritesDrawOverEarlierOnesWhateverWasShownFirst) {
    Scene s;
    // imWolf0 comes before imBask1 in drawing order; show the later one first.
    s.Put(SpriteId::imBask1, {10, 10, 20, 20}, Filled(20, 20, kBlue, kPurpleKey));
    s.Put(SpriteId::imWolf0, {10, 10, 20, 20}, Filled(20, 20, kRed, kPurpleKey));
    EXPECT_EQ(At(s.Frame(), 15, 15), kBlue);
}

TEST(Compositor, PictureIsCutAtItsBoxAndASmallerOneLeavesTheRestUndrawn) {
    Scene s;
    s.Put(SpriteId::imHare, {10, 10, 5, 5}, Filled(20, 20, kRed, kPurpleKey));   // larger than box
    s.Put(SpriteId::imBell, {40, 40, 20, 20}, Filled(5, 5, kBlue, kPurpleKey));  // smaller
    const QImage f = s.Frame();
    EXPECT_EQ(At(f, 14, 14), kRed);
    EXPECT_EQ(At(f, 15, 15), kGrey);
    EXPECT_EQ(At(f, 42, 42), kBlue);
    EXPECT_EQ(At(f, 50, 50), kGrey);
}

TEST(Compositor, OpaqueButtonsDrawEveryPixelIncludingTheirLowerLeftColour) {
    Scene s;
    QImage exit = Filled(8, 8, kRed, kPurpleKey);
    s.Put(SpriteId::imButtX, {30, 30, 8, 8}, exit);
    QImage sound = Filled(8, 8, kBlue, kPurpleKey);
    sound.setPixel(4, 4, kPurpleKey);
    s.Put(SpriteId::imButtS, {50, 30, 8, 8}, sound);
    const QImage f = s.Frame();
    EXPECT_EQ(At(f, 30, 37), kPurpleKey);  // drawn, and purple, so see-through
    EXPECT_EQ(At(f, 54, 34), kPurpleKey);
    EXPECT_EQ(At(f, 31, 31), kRed);
}

TEST(Compositor, OneBitPictureHasWhiteAsItsKey) {
    Scene s;
    QImage mono(8, 8, QImage::Format_Mono);
    mono.setColor(0, qRgb(255, 255, 255));
    mono.setColor(1, qRgb(0, 0, 0));
    mono.fill(1);
    mono.setPixel(3, 3, 0);  // white in the middle
    mono.setPixel(0, 7, 1);  // black lower-left: still not the key
    s.Put(SpriteId::imHare, {10, 10, 8, 8}, mono);
    const QImage f = s.Frame();
    EXPECT_EQ(At(f, 13, 13), kGrey);
    EXPECT_EQ(At(f, 10, 17), 0xff000000u);
}

TEST(WindowMask, PurplePixelIsAHoleAndASpritePaintingOverItClosesIt) {
    Scene s;
    QImage bg = Filled(100, 80, kGrey, kMagentaKey);
    for (int y = 20; y < 30; ++y)
        for (int x = 20; x < 30; ++x) bg.setPixel(x, y, kMagentaKey);
    bg.setPixel(70, 70, kPurpleKey);  // drawn purple in the background is a hole too
    s.pictures.SetPicture(SpriteId::imBckgrnd, bg, true);
    QImage frame = s.Frame();
    WindowMask mask;
    mask.Rebuild(frame);
    EXPECT_FALSE(mask.Region().contains(QPoint(25, 25)));
    EXPECT_FALSE(mask.Region().contains(QPoint(70, 70)));
    EXPECT_TRUE(mask.Region().contains(QPoint(10, 10)));
    EXPECT_FALSE(mask.Region().contains(QPoint(0, 79)));

    s.Put(SpriteId::imEggUL3, {22, 22, 4, 4}, Filled(4, 4, kRed, kPurpleKey));
    s.compositor.Recompose(frame, QRect(22, 22, 4, 4));
    EXPECT_TRUE(mask.Update(frame, QRect(22, 22, 4, 4)));
    EXPECT_TRUE(mask.Region().contains(QPoint(23, 23)));
    EXPECT_FALSE(mask.Region().contains(QPoint(22, 25)));  // the egg's own key pixel
    EXPECT_FALSE(mask.Region().contains(QPoint(28, 28)));

    // A sprite over solid pixels leaves the mask as it was.
    s.Put(SpriteId::imBell, {50, 50, 4, 4}, Filled(4, 4, kBlue, kPurpleKey));
    s.compositor.Recompose(frame, QRect(50, 50, 4, 4));
    EXPECT_FALSE(mask.Update(frame, QRect(50, 50, 4, 4)));
    WindowMask fresh;
    fresh.Rebuild(frame);
    EXPECT_TRUE(SameArea(fresh.Region(), mask.Region()));
}

}  // namespace
}  // namespace pellox
