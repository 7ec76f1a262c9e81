// The sprite rasterizer: coverage threshold, blending, the key colour in the
// lower-left corner, and clear failures for bad SVG sources.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

#include "raster/sprite_rasterizer.h"

namespace pellox {
namespace {

const QColor kPurpleKey(128, 0, 128);
const QColor kLcd(200, 205, 180);

QByteArray Svg(int w, int h, const QByteArray& body) {
    return QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"") + QByteArray::number(w) +
           "\" height=\"" + QByteArray::number(h) + "\" viewBox=\"0 0 " + QByteArray::number(w) + " " +
           QByteArray::number(h) + "\">" + body + "</svg>";
}

RasterTarget Target(int w, int h, bool transparent = true) {
    return RasterTarget{w, h, transparent, kPurpleKey, kLcd};
}

TEST(RasterizeSvg, PixelsCoveredLessThanHalfBecomeTheKeyOthersBlendWithTheColourBeneath) {
    // Column 0 fully black, column 1 covered 70 %, column 2 covered 30 %, column 3 empty.
    const auto r = RasterizeSvg(Svg(4, 2, "<rect x=\"0\" y=\"0\" width=\"1.7\" height=\"2\" fill=\"#000\"/>"
                                          "<rect x=\"2\" y=\"0\" width=\"0.3\" height=\"2\" fill=\"#000\"/>"),
                                Target(4, 2));
    ASSERT_FALSE(r.image.isNull()) << r.error.toStdString();
    EXPECT_EQ(r.image.format(), QImage::Format_RGB888);
    const QRgb top0 = r.image.pixel(0, 0), top1 = r.image.pixel(1, 0);
    EXPECT_EQ(top0 & 0xFFFFFF, 0u);
    // 70 % black over the LCD colour: each channel about 30 % of the LCD's.
    EXPECT_NEAR(qRed(top1), 0.3 * kLcd.red(), 6);
    EXPECT_NEAR(qGreen(top1), 0.3 * kLcd.green(), 6);
    EXPECT_EQ(r.image.pixel(2, 0), kPurpleKey.rgb());
    EXPECT_EQ(r.image.pixel(3, 0), kPurpleKey.rgb());
    EXPECT_FALSE(r.warning.isEmpty());  // the art covered the lower-left pixel
    EXPECT_EQ(r.image.pixel(0, 1), kPurpleKey.rgb());
}

// At a ratio the picture is drawn at the device size and the key decided per
// device pixel: a bar 1.3 game pixels wide covers 2.6 device pixels at ratio 2
// (three drawn) and 1.95 at ratio 1.5 (two drawn), where doubling the bitmap
// of ratio 1 would give two and one.
TEST(RasterizeSvg, AtARatioTheKeyIsDecidedOnDevicePixels) {
    const QByteArray svg = Svg(4, 2, "<rect x=\"0\" y=\"0\" width=\"1.3\" height=\"1\" fill=\"#000\"/>");
    struct Case {
        qreal ratio;
        QSize size;
        int drawn_columns;
    };
    for (const Case c : {Case{1.0, {4, 2}, 1}, Case{2.0, {8, 4}, 3}, Case{1.5, {6, 3}, 2}}) {
        SCOPED_TRACE(c.ratio);
        RasterTarget target = Target(4, 2);
        target.ratio = c.ratio;
        target.drawable = true;
        const auto r = RasterizeSvg(svg, target);
        ASSERT_FALSE(r.image.isNull()) << r.error.toStdString();
        EXPECT_EQ(r.image.size(), c.size);
        EXPECT_EQ(r.image.devicePixelRatio(), c.ratio);
        for (int x = 0; x < c.size.width(); ++x) {
            const QRgb p = r.image.pixel(x, 0);
            EXPECT_EQ(qAlpha(p), x < c.drawn_columns ? 255 : 0) << x;  // drawn, or cleared: never partly
        }
    }
    RasterTarget too_small = Target(4, 2);
    too_small.ratio = 0.5;
    EXPECT_TRUE(RasterizeSvg(svg, too_small).image.isNull());
}

TEST(RasterizeSvg, DrawnPixelsNeverEqualAKeyColour) {
    // Art painted in exactly the key colour must not become see-through.
    const auto r = RasterizeSvg(Svg(3, 3, "<rect x=\"1\" y=\"0\" width=\"2\" height=\"2\" fill=\"#800080\"/>"), Target(3, 3));
    ASSERT_FALSE(r.image.isNull());
    EXPECT_NE(r.image.pixel(1, 0), kPurpleKey.rgb());
    EXPECT_LE(std::abs(qBlue(r.image.pixel(1, 0)) - 128), 1);
    // In a picture with a magenta key, drawn purple would still be a hole in the window.
    RasterTarget magenta = Target(3, 3);
    magenta.key = QColor(255, 0, 255);
    const auto m = RasterizeSvg(Svg(3, 3, "<rect x=\"1\" y=\"0\" width=\"2\" height=\"2\" fill=\"#800080\"/>"), magenta);
    EXPECT_NE(m.image.pixel(1, 0), kPurpleKey.rgb());
}

TEST(RasterizeSvg, OpaquePicturesFillTheWholeBoxWithoutKey) {
    const auto r = RasterizeSvg(Svg(3, 2, "<circle cx=\"1.5\" cy=\"1\" r=\"0.3\" fill=\"#000\"/>"), Target(3, 2, false));
    ASSERT_FALSE(r.image.isNull());
    EXPECT_EQ(r.image.pixel(0, 1), kLcd.rgb());
    EXPECT_TRUE(r.warning.isEmpty());
}

TEST(RasterizeSvg, BadSourcesFailWithAReason) {
    struct Case {
        const char* what;
        QByteArray svg;
    } cases[] = {
        {"empty", ""},
        {"not XML", "this is not a picture"},
        {"truncated", Svg(4, 4, "<rect x=\"0\"").left(60)},
        {"unclosed element", "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 4 4\"><g>"},
        {"XML but not SVG", "<html><body/></html>"},
        {"wrong size", Svg(5, 4, "")},
        {"binary junk", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = RasterizeSvg(c.svg, Target(4, 4));
        EXPECT_TRUE(r.image.isNull());
        EXPECT_FALSE(r.error.isEmpty());
    }
}

TEST(UnderColourOf, ReadsTheRootAttribute) {
    EXPECT_EQ(UnderColourOf("<svg data-under=\"#102030\"/>"), QColor(16, 32, 48));
    EXPECT_FALSE(UnderColourOf("<svg/>").has_value());
    EXPECT_FALSE(UnderColourOf("<svg data-under=\"nonsense\"/>").has_value());
}

TEST(ParseColourAndSize, ReadCommandLineValues) {
    struct ColourCase {
        const char* text;
        std::optional<QColor> expected;
    } colours[] = {
        {"ff00ff", QColor(255, 0, 255)},
        {"#008e00", QColor(0, 142, 0)},
        {"008E00", QColor(0, 142, 0)},
        {"white", QColor(255, 255, 255)},
        {"ff00f", std::nullopt},
        {"gg00ff", std::nullopt},
        {"", std::nullopt},
    };
    for (const ColourCase& c : colours) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseColour(QString::fromLatin1(c.text)), c.expected);
    }
    struct SizeCase {
        const char* text;
        std::optional<QSize> expected;
    } sizes[] = {
        {"121x124", QSize(121, 124)},
        {"1x1", QSize(1, 1)},
        {"4096x2", QSize(4096, 2)},
        {"0x5", std::nullopt},
        {"5x4097", std::nullopt},
        {"36*24", std::nullopt},
        {"-3x4", std::nullopt},
        {"36x", std::nullopt},
        {" 36x24", std::nullopt},
    };
    for (const SizeCase& c : sizes) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseSize(QString::fromLatin1(c.text)), c.expected);
    }
}

TEST(Svg2BmpTool, WritesA24BitBitmapOrFailsWithAMessage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& data) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    };
    const QString good = write("bell.svg", Svg(24, 25, "<circle cx=\"12\" cy=\"12\" r=\"8\" fill=\"#1E2420\"/>"));
    const QString bad = write("bad.svg", "<svg><g>");
    auto run = [&](QStringList args, QString* err) {
        QProcess p;
        p.start(PELLOX_SVG2BMP_PATH, args);
        EXPECT_TRUE(p.waitForFinished(30000));
        *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    QString err;
    const QString out = dir.filePath("bell.bmp");
    ASSERT_EQ(run({"--sprite", "imBell", good, out}, &err), 0) << err.toStdString();
    QFile bmp(out);
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray raw = bmp.readAll();
    ASSERT_GE(raw.size(), 30);
    EXPECT_EQ(raw[28], 24);
    EXPECT_EQ(QImage(out).pixel(0, 24) & 0xFFFFFF, 0x800080u);

    // A picture that is not a layout sprite: its own size, key and colour beneath.
    // A half-covered column shows whether the edge was blended against --under.
    const QString picture = write("picture.svg", Svg(6, 4, "<rect x=\"2\" y=\"0\" width=\"2.6\" height=\"4\" fill=\"#000\"/>"));
    const QString keyed = dir.filePath("keyed.bmp");
    ASSERT_EQ(run({"--size", "6x4", "--key", "ff00ff", "--under", "008e00", picture, keyed}, &err), 0) << err.toStdString();
    const QImage k(keyed);
    ASSERT_EQ(k.size(), QSize(6, 4));
    EXPECT_EQ(k.pixel(0, 0) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(k.pixel(0, 3) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(k.pixel(2, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(qRed(k.pixel(4, 1)), 0);  // 60 % black over the green, not over magenta
    EXPECT_NEAR(qGreen(k.pixel(4, 1)), 0.4 * 142, 6);
    EXPECT_EQ(qBlue(k.pixel(4, 1)), 0);
    EXPECT_EQ(k.pixel(5, 1) & 0xFFFFFF, 0xFF00FFu);

    const QString opaque = dir.filePath("opaque.bmp");
    ASSERT_EQ(run({"--size", "6x4", "--opaque", "--under", "#ffffff", picture, opaque}, &err), 0) << err.toStdString();
    const QImage o(opaque);
    ASSERT_EQ(o.size(), QSize(6, 4));
    EXPECT_EQ(o.pixel(0, 3) & 0xFFFFFF, 0xFFFFFFu);  // no key: the corner is the colour beneath
    EXPECT_EQ(o.pixel(5, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(o.pixel(3, 0) & 0xFFFFFF, 0u);

    struct Case {
        const char* what;
        QStringList args;
    } failures[] = {
        {"bad SVG", {"--sprite", "imBell", bad, dir.filePath("x.bmp")}},
        {"wrong size for the sprite", {"--sprite", "imHare", good, dir.filePath("x.bmp")}},
        {"unknown sprite", {"--sprite", "imNothing", good, dir.filePath("x.bmp")}},
        {"missing input", {"--sprite", "imBell", dir.filePath("none.svg"), dir.filePath("x.bmp")}},
        {"unwritable output", {"--sprite", "imBell", good, dir.filePath("no/such/dir/x.bmp")}},
        {"no arguments", {}},
        {"size that does not match the SVG", {"--size", "7x4", "--opaque", picture, dir.filePath("x.bmp")}},
        {"bad size", {"--size", "6by4", "--opaque", picture, dir.filePath("x.bmp")}},
        {"size without key or opaque", {"--size", "6x4", picture, dir.filePath("x.bmp")}},
        {"both key and opaque", {"--size", "6x4", "--key", "ff00ff", "--opaque", picture, dir.filePath("x.bmp")}},
        {"bad key colour", {"--size", "6x4", "--key", "magentaish", picture, dir.filePath("x.bmp")}},
        {"sprite with a size", {"--sprite", "imBell", "--size", "24x25", good, dir.filePath("x.bmp")}},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(c.what);
        const int code = run(c.args, &err);
        EXPECT_GT(code, 0);  // a clean non-zero exit, not a crash
        EXPECT_TRUE(err.contains("svg2bmp:")) << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("x.bmp")));
}

}  // namespace
}  // namespace pellox
