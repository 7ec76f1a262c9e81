// Picture files a stranger's skin may bring: broken and lying bitmaps, written
// here byte by byte and loaded as a skin's picture is. Each fails with its
// reason, or loads with the documented fallback, without decoding what its
// header claims beyond the file.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

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
        {"not_a_picture_at_all", [] { return Bytes{'h', 'e', 'l', 'l', 'o'}; }, "not a readable picture"},
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
    QString error;
    const auto start = std::chrono::steady_clock::now();
    const bool loaded = pictures.LoadPicture(SpriteId::imHare, path, true, &error);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "a generous bound";
    if (c.reason.empty()) {
        EXPECT_TRUE(loaded) << error.toStdString();
        EXPECT_EQ(pictures.NaturalSize(SpriteId::imHare), QSize(4, 2));
        return;
    }
    EXPECT_FALSE(loaded);
    EXPECT_EQ(error.toStdString(), path.toStdString() + ": " + c.reason);
    EXPECT_EQ(pictures.NaturalSize(SpriteId::imHare), QSize(3, 3));
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, PictureMalformedTest, ::testing::ValuesIn(PictureCases()),
                         [](const auto& info) { return std::string(info.param.name); });

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
        QString error;
        EXPECT_FALSE(pictures.LoadPicture(SpriteId::imHare, path, true, &error));
        EXPECT_EQ(error, QStringLiteral("Cannot open file %1").arg(path));
    }
}

QImage LoadFrom(const Bytes& bytes, bool transparent, QString* error) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    PictureSet pictures;
    if (!pictures.LoadPicture(SpriteId::imHare, path, transparent, error)) return {};
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
    QString error;
    ASSERT_TRUE(pictures.LoadPicture(SpriteId::imHare, path, false, &error)) << error.toStdString();
    EXPECT_EQ(pictures.NaturalSize(SpriteId::imHare), QSize(5, 3));
}

}  // namespace
}  // namespace pellox
