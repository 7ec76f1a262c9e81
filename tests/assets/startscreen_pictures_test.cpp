// The start screen's pictures: embedded 24-bit bitmaps of their sizes, ready to
// draw with clean see-through parts, opaque flags of the right colours, and
// the program's icon.
#include <cmath>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

#include "raster/icon_raster.h"
#include "assets/startscreen/pictures/startscreen_pictures.h"

namespace pellox {
namespace {

constexpr QRgb kKey = qRgb(255, 0, 255);

struct PictureCase {
    StartScreenPicture which;
    const char* name;
    QSize size;
    bool transparent;
};

const PictureCase kPictures[] = {
    {StartScreenPicture::Wolf, "wolf", {121, 124}, true},
    {StartScreenPicture::Hare, "hare", {60, 78}, true},
    {StartScreenPicture::Bell, "bell", {31, 47}, true},
    {StartScreenPicture::Soviet, "soviet", {36, 24}, false},
    {StartScreenPicture::British, "british", {36, 24}, false},
    {StartScreenPicture::Icon, "icon", {32, 32}, true},
};

TEST(StartScreenPictures, EachIsA24BitBitmapWithItsKeyInTheLowerLeft) {
    // Load once so that the resources are registered.
    (void)LoadStartScreenPicture(StartScreenPicture::Wolf);
    for (const PictureCase& c : kPictures) {
        SCOPED_TRACE(c.name);
        const QString path = StartScreenPicturePath(c.which);
        EXPECT_EQ(path, QStringLiteral(":/startscreen/pictures/%1.bmp").arg(QLatin1String(c.name)));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray raw = file.readAll();
        ASSERT_GE(raw.size(), 54);
        EXPECT_EQ(raw.left(2), QByteArray("BM"));
        EXPECT_EQ(static_cast<unsigned char>(raw[28]) | static_cast<unsigned char>(raw[29]) << 8, 24);
        const QImage bitmap(path);
        ASSERT_EQ(bitmap.size(), c.size);
        EXPECT_EQ(StartScreenPictureSize(c.which), c.size);
        EXPECT_EQ(IsTransparentPicture(c.which), c.transparent);
        const QRgb lowerLeft = bitmap.pixel(0, bitmap.height() - 1) & 0xFFFFFF;
        if (c.transparent) {
            EXPECT_EQ(lowerLeft, kKey & 0xFFFFFF);
        } else {
            EXPECT_NE(lowerLeft, kKey & 0xFFFFFF);
        }
    }
}

// At a device pixel ratio above 1 each is drawn again from its source at that
// ratio, under the same rules as the bitmap.
TEST(StartScreenPictures, LoadReadyToDrawWithCleanSeeThroughPartsAtEveryRatio) {
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        for (const PictureCase& c : kPictures) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(ratio);
            const QImage image = LoadStartScreenPicture(c.which, ratio);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(static_cast<int>(std::ceil(c.size.width() * ratio)),
                                          static_cast<int>(std::ceil(c.size.height() * ratio))));
            EXPECT_EQ(image.devicePixelRatio(), ratio);
            EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
            const int w = image.width(), h = image.height();
            int clear = 0, opaque = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const QRgb p = image.pixel(x, y);
                    // A bitmap has no partial alpha: a pixel is either see-through or drawn.
                    ASSERT_TRUE(qAlpha(p) == 0 || qAlpha(p) == 255) << x << "," << y;
                    if (qAlpha(p) == 0) {
                        ++clear;
                        continue;
                    }
                    ++opaque;
                    // Edges were blended against the green, never towards the magenta key:
                    // no pinkish pixel (red and blue both well above green) is left.
                    if (c.transparent) {
                        EXPECT_FALSE(qRed(p) > qGreen(p) + 60 && qBlue(p) > qGreen(p) + 60)
                            << "magenta fringe at " << x << "," << y;
                    }
                }
            }
            if (c.transparent) {
                for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)}) {
                    EXPECT_EQ(qAlpha(image.pixel(corner)), 0) << corner.x() << "," << corner.y();
                }
                EXPECT_EQ(qAlpha(image.pixel(w / 2, h / 2)), 255);
                EXPECT_GT(opaque, w * h / 10);  // a figure there to see
            } else {
                EXPECT_EQ(clear, 0);
            }
        }
    }
}

bool IsRed(QRgb p) { return qRed(p) > 150 && qGreen(p) < 80 && qBlue(p) < 80; }
bool IsBlue(QRgb p) { return qBlue(p) > 80 && qRed(p) < 60 && qGreen(p) < 80; }
bool IsWhite(QRgb p) { return qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) > 200; }
bool IsGold(QRgb p) { return qRed(p) > 200 && qGreen(p) > 150 && qBlue(p) < 110; }

double Share(const QImage& image, bool (*is)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += is(image.pixel(x, y)) ? 1 : 0;
    return double(n) / (image.width() * image.height());
}

TEST(StartScreenPictures, FlagsShowTheirColours) {
    const QImage soviet = LoadStartScreenPicture(StartScreenPicture::Soviet);
    ASSERT_FALSE(soviet.isNull());
    EXPECT_GT(Share(soviet, IsRed), 0.8);
    // The gold star and hammer and sickle stand in the upper hoist corner, nowhere else.
    int goldInCorner = 0, goldElsewhere = 0;
    for (int y = 0; y < soviet.height(); ++y) {
        for (int x = 0; x < soviet.width(); ++x) {
            if (!IsGold(soviet.pixel(x, y))) continue;
            (x < soviet.width() / 2 && y < soviet.height() * 3 / 4 ? goldInCorner : goldElsewhere) += 1;
        }
    }
    EXPECT_GE(goldInCorner, 12);
    EXPECT_EQ(goldElsewhere, 0);

    const QImage british = LoadStartScreenPicture(StartScreenPicture::British);
    ASSERT_FALSE(british.isNull());
    const double blue = Share(british, IsBlue), white = Share(british, IsWhite), red = Share(british, IsRed);
    EXPECT_GT(blue + white + red, 0.8);
    for (double part : {blue, white, red}) EXPECT_GT(part, 0.1);
    // The red cross through the middle, white beside it, blue in the corners' fields.
    EXPECT_TRUE(IsRed(british.pixel(18, 2)));
    EXPECT_TRUE(IsRed(british.pixel(2, 12)));
    EXPECT_TRUE(IsWhite(british.pixel(18 - 4, 2)));
    EXPECT_TRUE(IsBlue(british.pixel(10, 2)));
    EXPECT_TRUE(IsBlue(british.pixel(26, 21)));
}

TEST(ProgramIcon, IsDrawnAtEverySizeTheDesktopAsksFor) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> drawn = icon.availableSizes();
    for (int side : kProgramIconSizes) {
        SCOPED_TRACE(side);
        EXPECT_TRUE(drawn.contains(QSize(side, side)));
        const QImage image = icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(side, side));
        // A rounded case on a see-through square, solid inside.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(side / 2, side / 2)), 255);
    }
}

bool SvgPluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libqsvg");
}

// Qt loads its SVG image plugin (and Qt SVG with it) only for a picture drawn
// at a scale the build did not make.
TEST(StartScreenPictures, OnlyAPictureDrawnAtAnotherScaleLoadsTheSvgPlugin) {
    if (SvgPluginLoaded()) GTEST_SKIP() << "an earlier test in this process drew an SVG";
    for (StartScreenPicture which : {StartScreenPicture::Wolf, StartScreenPicture::Hare, StartScreenPicture::Bell,
                                     StartScreenPicture::Soviet, StartScreenPicture::British, StartScreenPicture::Icon})
        EXPECT_FALSE(LoadStartScreenPicture(which).isNull());
    EXPECT_FALSE(ProgramIcon().isNull());
    EXPECT_FALSE(SvgPluginLoaded());
    EXPECT_EQ(LoadStartScreenPicture(StartScreenPicture::Wolf, 2.0).devicePixelRatio(), 2.0);
    EXPECT_TRUE(SvgPluginLoaded());
}

TEST(RasterizeIcon, GivesNothingForAnUnusableSourceOrSize) {
    EXPECT_TRUE(RasterizeIcon("not an SVG", 32).isNull());
    EXPECT_TRUE(RasterizeIcon("<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 4 4'/>", 0).isNull());
}

}  // namespace
}  // namespace pellox
