// Picture files a stranger's skin may bring: broken and lying bitmaps, written
// here byte by byte and loaded as a skin's picture is. Each fails with its
// reason, or loads with the documented fallback, without decoding what its
// header claims beyond the file.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "lcd/picture_file.h"
#include "lcd/picture_set.h"
#include "tests/support/little_endian.h"

namespace pellox {
namespace {

constexpr std::size_t kOffsetAt = 10, kHeaderSizeAt = 14, kWidthAt = 18, kHeightAt = 22, kBitsAt = 28,
                      kCompressionAt = 30, kImageBytesAt = 34, kColoursUsedAt = 46;

const QRgb kKeyColour = qRgb(255, 0, 255), kInkColour = qRgb(16, 120, 32);

// An 8-bit bitmap, its palette `colours` long (colour 0 the key, 1 the ink,
// the rest grey), each pixel index(x, row counted from the bottom).
Bytes Bitmap8(int width, int height, int colours, const std::function<std::uint8_t(int, int)>& index) {
    Bytes rows;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) rows.push_back(index(x, row));
        while (rows.size() % 4) rows.push_back(0);
    }
    Bytes b = {'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    Put32(b, offset + static_cast<std::uint32_t>(rows.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 0);
    Put32(b, static_cast<std::uint32_t>(rows.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, colours == 256 ? 0 : static_cast<std::uint32_t>(colours));
    Put32(b, 0);
    for (int i = 0; i < colours; ++i) {
        const QRgb c = i == 0 ? kKeyColour : i == 1 ? kInkColour : qRgb(i, i, i);
        b.insert(b.end(), {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                           static_cast<std::uint8_t>(qRed(c)), 0});
    }
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

// 4 x 2 pixels, the lower-left one the key, the rest ink.
Bytes Good() {
    return Bitmap8(4, 2, 256, [](int x, int row) -> std::uint8_t { return x == 0 && row == 0 ? 0 : 1; });
}

Bytes With32(Bytes b, std::size_t at, std::uint32_t v) {
    Patch32(b, at, v);
    return b;
}
Bytes Cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}

// The same picture run-length coded: one run of two ink pixels, then the end
// of the bitmap. Every other pixel is never set.
Bytes RunLengthEndingEarly(int width, int height) {
    Bytes b = Cut(Bitmap8(width, height, 256, [](int, int) -> std::uint8_t { return 0; }), 14 + 40 + 1024);
    Patch32(b, kCompressionAt, 1);
    b.insert(b.end(), {2, 1, 0, 1});
    Patch32(b, kImageBytesAt, 4);
    return b;
}

// A 4-bit run-length bitmap of 8 x 2 pixels (colour 0 the key, 1 the ink):
// eight ink pixels on the bottom row, then a run on the top row whose colour
// byte the end of the file cuts off.
Bytes RunLength4CutOff() {
    Bytes b = {'B', 'M'};
    const Bytes pixels = {8, 0x11, 0, 0, 8};
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    Put32(b, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, 8);
    Put32(b, 2);
    Put16(b, 1);
    Put16(b, 4);
    Put32(b, 2);
    Put32(b, static_cast<std::uint32_t>(pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 16);
    Put32(b, 0);
    for (int i = 0; i < 16; ++i) {
        const QRgb c = i == 0 ? kKeyColour : i == 1 ? kInkColour : qRgb(i * 16, i * 16, i * 16);
        b.insert(b.end(), {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                           static_cast<std::uint8_t>(qRed(c)), 0});
    }
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// A GIF of 44 bytes whose screen claims screen_width x screen_height pixels
// and its only image width x height.
Bytes GifClaiming(std::uint16_t screen_width, std::uint16_t screen_height, std::uint16_t width,
                  std::uint16_t height) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, screen_width);
    Put16(b, screen_height);
    b.insert(b.end(), {0, 0, 0, ','});
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0, 2, 2, 0x4C, 0x01, 0, ';'});
    b.resize(44, 0);
    return b;
}

struct PictureCase {
    const char* name;
    std::function<Bytes()> bytes;
    std::string reason;  // part of the failure's reason; empty when the picture loads
};
void PrintTo(const PictureCase& c, std::ostream* out) { *out << c.name; }

std::vector<PictureCase> PictureCases() {
    return {
        {"good", Good, ""},
        {"zero_bytes", [] { return Bytes{}; }, "the file is empty"},
        {"only_the_magic", [] { return Bytes{'B', 'M'}; }, "the bitmap's header is cut short"},
        {"file_header_only", [] { return Cut(Good(), 14); }, "the bitmap's header is cut short"},
        {"info_header_cut", [] { return Cut(Good(), 30); }, "the bitmap's header is cut short"},
        {"info_header_claims_4_gb", [] { return With32(Good(), kHeaderSizeAt, 0xFFFFFFF0u); },
         "the bitmap's header is cut short"},
        {"info_header_of_an_unknown_size", [] { return With32(Good(), kHeaderSizeAt, 20); },
         "an unknown kind of bitmap header (20 bytes)"},
        {"zero_by_zero", [] { return With32(With32(Good(), kWidthAt, 0), kHeightAt, 0); },
         "the bitmap has no pixels (0 x 0 pixels)"},
        {"negative_width", [] { return With32(Good(), kWidthAt, static_cast<std::uint32_t>(-4)); },
         "the bitmap has no pixels (-4 x 2 pixels)"},
        {"height_of_int_min", [] { return With32(Good(), kHeightAt, 0x80000000u); },
         "the bitmap is 4 x 2147483648 pixels: at most 16777216 pixels (4096 x 4096) are read"},
        // Ten gigapixels claimed in about a kilobyte: refused from the header.
        {"100000_by_100000_in_a_tiny_file",
         [] { return With32(With32(Good(), kWidthAt, 100000), kHeightAt, 100000); },
         "the bitmap is 100000 x 100000 pixels: at most 16777216 pixels (4096 x 4096) are read"},
        // Within the pixel limit, but the 16 MB of pixels are not in the file.
        {"4000_by_4000_in_a_tiny_file", [] { return With32(With32(Good(), kWidthAt, 4000), kHeightAt, 4000); },
         "the bitmap's pixels are cut short: 16000000 bytes from byte 1078, but the file has 1086"},
        {"pixels_past_the_end", [] { return With32(Good(), kOffsetAt, 100000); },
         "the bitmap's pixels would start at byte 100000, past the end of its 1086 bytes"},
        {"last_row_cut", [] { return Cut(Good(), 1084); },
         "the bitmap's pixels are cut short: 8 bytes from byte 1078, but the file has 1084"},
        {"palette_cut", [] { return Cut(Good(), 14 + 40 + 100); },
         "the bitmap's palette of 256 colours is cut short: it would end at byte 1078 of 154"},
        {"palette_of_300_colours", [] { return With32(Good(), kColoursUsedAt, 300); },
         "the bitmap claims 300 palette colours: at most 256"},
        {"seven_bits_a_pixel",
         [] {
             Bytes b = Good();
             b[kBitsAt] = 7;
             return b;
         },
         "7 bits a pixel: bitmaps of 1, 4, 8, 16, 24 or 32 are read"},
        {"run_length_claims_more_than_the_file",
         [] { return With32(RunLengthEndingEarly(4, 2), kImageBytesAt, 5000); },
         "the bitmap's pixels are cut short: 5000 bytes from byte 1078, but the file has 1082"},
        {"unknown_compression", [] { return With32(Good(), kCompressionAt, 4); },
         "a compression (4) that bitmaps of 8 bits a pixel do not have"},
        {"not_a_picture_at_all", [] { return Bytes{'h', 'e', 'l', 'l', 'o'}; },
         "not a readable picture (BMP, PNG, GIF and JPEG pictures are read)"},
        // Refused from its header, before a pixel of it is decoded.
        {"gif_claiming_64512_by_513", [] { return GifClaiming(64512, 513, 64512, 513); },
         "the picture is 64512 x 513 pixels: at most 16777216 pixels (4096 x 4096) are read"},
        // More than Qt would allocate: named by its size, not by a failed decode.
        {"gif_claiming_65535_by_65535", [] { return GifClaiming(65535, 65535, 65535, 65535); },
         "the picture is 65535 x 65535 pixels: at most 16777216 pixels (4096 x 4096) are read"},
        // Qt gives the first image's size but decodes the whole screen:
        // refused by the screen's size, not by a decode that fails.
        {"gif_screen_of_65535_by_65535_over_a_small_image", [] { return GifClaiming(65535, 65535, 100, 100); },
         "the picture is 65535 x 65535 pixels: at most 16777216 pixels (4096 x 4096) are read"},
        {"svg_drawing_a_rectangle",
         [] {
             const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='2'>"
                                     "<rect width='4' height='2' fill='red'/></svg>";
             return Bytes(svg.begin(), svg.end());
         },
         "not a readable picture (BMP, PNG, GIF and JPEG pictures are read)"},
    };
}

class PictureMalformedTest : public ::testing::TestWithParam<PictureCase> {
protected:
    QTemporaryDir dir_;
};

TEST_P(PictureMalformedTest, FailsWithItsReasonAndKeepsTheOldPicture) {
    const PictureCase& c = GetParam();
    const QString path = dir_.filePath(QStringLiteral("picture.bmp"));
    const Bytes bytes = c.bytes();
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    PictureSet pictures;
    pictures.SetPicture(SpriteId::imHare, QImage(3, 3, QImage::Format_RGB32), false);
    const auto start = std::chrono::steady_clock::now();
    const Result<void> loaded = pictures.LoadPicture(SpriteId::imHare, path, true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "a generous bound";
    if (c.reason.empty()) {
        EXPECT_TRUE(loaded) << loaded.reason();
        EXPECT_EQ(pictures.NaturalSize(SpriteId::imHare), QSize(4, 2));
        return;
    }
    EXPECT_FALSE(loaded);
    EXPECT_EQ(loaded.reason(), path.toStdString() + ": " + c.reason);
    EXPECT_EQ(pictures.NaturalSize(SpriteId::imHare), QSize(3, 3));
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, PictureMalformedTest, ::testing::ValuesIn(PictureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A screen larger than its first image is an ordinary GIF: the picture is
// the screen, within the limit.
TEST(PictureMalformed, AGifScreenLargerThanItsImageWithinTheLimitLoads) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("screen.gif"));
    const Bytes bytes = GifClaiming(4096, 4096, 100, 100);
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const Result<QImage> picture = ReadPictureFile(path);
    ASSERT_TRUE(picture) << picture.reason();
    EXPECT_EQ(picture->size(), QSize(4096, 4096));
}

// What a skin may name as a picture but is no file: refused before opening,
// which for a FIFO would wait for a writer and for /dev/zero never end.
TEST(PictureMalformed, AFolderAFifoAndADeviceAreRefusedWithoutOpeningThem) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("folder.bmp"));
    const QString fifo = dir.filePath(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkdir(folder.toLocal8Bit().constData(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    for (const QString& path : {folder, fifo, QStringLiteral("/dev/zero")}) {
        PictureSet pictures;
        const Result<void> loaded = pictures.LoadPicture(SpriteId::imHare, path, true);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(loaded.reason(), QStringLiteral("Cannot open file %1").arg(path).toStdString());
    }
}

// An SVG picture drawing another file would make the game open that file:
// a FIFO waits for a writer for ever and /dev/zero never ends. Loaded in a
// child process so that a hang fails the test instead of stalling it.
class SvgNamingAFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SvgNamingAFileTest, IsRefusedWithoutOpeningIt) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    const QString regular = dir.filePath(QStringLiteral("drawn.png"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QImage drawn(4, 2, QImage::Format_RGB32);
    drawn.fill(kInkColour);
    ASSERT_TRUE(drawn.save(regular, "PNG"));
    const std::string which = GetParam();
    const QString named = which == "fifo" ? fifo : which == "dev_zero" ? QStringLiteral("/dev/zero") : regular;

    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                            "width='4' height='2'><image width='4' height='2' xlink:href='" +
                            named.toStdString() + "'/></svg>";
    std::ofstream(path.toStdString(), std::ios::binary).write(svg.data(), static_cast<std::streamsize>(svg.size()));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PictureSet pictures;
        const Result<void> loaded = pictures.LoadPicture(SpriteId::imHare, path, true);
        ::_exit(!loaded && loaded.reason() == path.toStdString() +
                                                  ": not a readable picture (BMP, PNG, GIF and JPEG pictures are read)"
                    ? 0
                    : 1);
    }
    int status = 0;
    pid_t done = 0;
    for (int waited_ms = 0; waited_ms < 10000 && done == 0; waited_ms += 10) {
        done = ::waitpid(child, &status, WNOHANG);
        if (done == 0) ::usleep(10000);
    }
    if (done == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "loading the picture hung";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the picture loaded or failed for another reason";
}

INSTANTIATE_TEST_SUITE_P(Svg, SvgNamingAFileTest, ::testing::Values("fifo", "dev_zero", "regular_file"),
                         [](const auto& info) { return std::string(info.param); });

QImage LoadFrom(const Bytes& bytes, bool transparent, QString* error) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    PictureSet pictures;
    const Result<void> loaded = pictures.LoadPicture(SpriteId::imHare, path, transparent);
    if (error) *error = QString::fromStdString(loaded.reason());
    if (!loaded) return {};
    return pictures.Drawable(SpriteId::imHare);
}

TEST(PictureMalformed, APaletteIndexPastThePalettesEndDrawsBlack) {
    // Two palette colours, and every pixel but the lower-left key is index 200.
    QString error;
    const QImage drawn =
        LoadFrom(Bitmap8(4, 2, 2, [](int x, int row) -> std::uint8_t { return x == 0 && row == 0 ? 0 : 200; }),
                 true, &error);
    ASSERT_FALSE(drawn.isNull()) << error.toStdString();
    EXPECT_EQ(qAlpha(drawn.pixel(0, 1)), 0) << "the key colour stays see-through";
    EXPECT_EQ(drawn.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(3, 0), qRgb(0, 0, 0));
}

TEST(PictureMalformed, PixelsARunLengthBitmapNeverSetsArePaletteColourZero) {
    constexpr int kSide = 16;
    // The allocator hands out memory others have written, as it does in a
    // running game; without care those bytes show as pixels.
    for (int i = 0; i < 64; ++i) {
        void* used = std::malloc(kSide * kSide + 32);
        std::memset(used, 0xAB, kSide * kSide + 32);
        std::free(used);
    }
    QString error;
    const QImage drawn = LoadFrom(RunLengthEndingEarly(kSide, kSide), false, &error);
    ASSERT_FALSE(drawn.isNull()) << error.toStdString();
    int wrong = 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            const bool set = y == kSide - 1 && x < 2;  // the run: bottom row, two pixels
            wrong += drawn.pixel(x, y) != (set ? kInkColour : kKeyColour);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(PictureMalformed, AFourBitRunCutOffByTheEndOfTheFileIsColourZeroEveryTime) {
    // Decoded several times over memory filled with different patterns: a
    // pixel left to chance shows as a different colour sooner or later.
    for (const std::uint8_t pattern : {0x00, 0xAB, 0x5C, 0xFF, 0x13}) {
        for (int i = 0; i < 64; ++i) {
            void* used = std::malloc(4096);
            std::memset(used, pattern, 4096);
            std::free(used);
        }
        QString error;
        const QImage drawn = LoadFrom(RunLength4CutOff(), false, &error);
        ASSERT_FALSE(drawn.isNull()) << error.toStdString();
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(drawn.pixel(x, 1), kInkColour) << "bottom row, x " << x;
            EXPECT_EQ(drawn.pixel(x, 0), kKeyColour) << "top row, x " << x << ", heap pattern " << int{pattern};
        }
    }
}

// The worst a bitmap may cost: the most pixels read, claimed by a run-length
// bitmap of a kilobyte. One pixel more is refused.
TEST(PictureMalformed, TheLargestPictureLoadsAndOneMorePixelIsRefused) {
    QString error;
    const QImage largest = LoadFrom(RunLengthEndingEarly(4096, 4096), false, &error);
    ASSERT_FALSE(largest.isNull()) << error.toStdString();
    EXPECT_EQ(largest.size(), QSize(4096, 4096));
    EXPECT_EQ(largest.pixel(4095, 0), kKeyColour);

    EXPECT_TRUE(LoadFrom(RunLengthEndingEarly(4097, 4096), false, &error).isNull());
    EXPECT_TRUE(error.endsWith(": the bitmap is 4097 x 4096 pixels: at most 16777216 pixels (4096 x 4096) are read"))
        << error.toStdString();
}

TEST(PictureMalformed, APngNamedBmpStillLoads) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    QImage png(5, 3, QImage::Format_RGB32);
    png.fill(kInkColour);
    ASSERT_TRUE(png.save(path, "PNG"));
    PictureSet pictures;
    const Result<void> loaded = pictures.LoadPicture(SpriteId::imHare, path, false);
    ASSERT_TRUE(loaded) << loaded.reason();
    EXPECT_EQ(pictures.NaturalSize(SpriteId::imHare), QSize(5, 3));
}

}  // namespace
}  // namespace pellox
