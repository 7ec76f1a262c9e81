// Skins bring Windows bitmaps of every kind a paint program writes. Each is
// written here byte by byte, 4 x 2 pixels, its lower-left pixel the key
// colour and the rest another colour, and loaded as the game loads a skin's
// picture.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "lcd/picture_set.h"
#include "tests/support/little_endian.h"

namespace pellox {
namespace {

constexpr int kWidth = 4, kHeight = 2;
constexpr std::uint8_t kKey = 1, kInk = 2;  // palette indices
const QRgb kKeyColour = qRgb(255, 0, 255), kInkColour = qRgb(16, 120, 32);

// Palette index of each pixel, bottom row first as the file stores it: the
// lower-left pixel is the key.
std::uint8_t IndexAt(int x, int row_from_bottom) { return (x == 0 && row_from_bottom == 0) ? kKey : kInk; }

struct Kind {
    const char* name;
    int bits;
    int compression;  // 0 none, 1 RLE8, 2 RLE4
};

Bytes PixelData(const Kind& k) {
    Bytes data;
    if (k.compression == 1) {  // RLE8: a run of one key pixel, then a run of ink
        for (int row = 0; row < kHeight; ++row) {
            if (row == 0) data.insert(data.end(), {1, kKey, kWidth - 1, kInk});
            else data.insert(data.end(), {kWidth, kInk});
            data.insert(data.end(), {0, 0});
        }
        data.insert(data.end(), {0, 1});
        return data;
    }
    if (k.compression == 2) {  // RLE4: runs alternate the two nibbles
        for (int row = 0; row < kHeight; ++row) {
            if (row == 0) data.insert(data.end(), {1, static_cast<std::uint8_t>(kKey << 4), kWidth - 1,
                                                   static_cast<std::uint8_t>(kInk << 4 | kInk)});
            else data.insert(data.end(), {kWidth, static_cast<std::uint8_t>(kInk << 4 | kInk)});
            data.insert(data.end(), {0, 0});
        }
        data.insert(data.end(), {0, 1});
        return data;
    }
    for (int row = 0; row < kHeight; ++row) {
        Bytes line;
        std::uint32_t bits = 0;
        int filled = 0;
        for (int x = 0; x < kWidth; ++x) {
            const bool key = IndexAt(x, row) == kKey;
            const QRgb c = key ? kKeyColour : kInkColour;
            switch (k.bits) {
                case 1: case 4: case 8: {
                    // 1-bit pictures take white as their key whatever their
                    // lower-left pixel, so there the "key" is index 1 = white.
                    const std::uint32_t index = IndexAt(x, row) == kKey ? 1 : (k.bits == 1 ? 0 : kInk);
                    bits = (bits << k.bits) | index;
                    filled += k.bits;
                    if (filled == 8) {
                        line.push_back(static_cast<std::uint8_t>(bits));
                        bits = 0;
                        filled = 0;
                    }
                    break;
                }
                case 16: Put16(line, (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3)); break;
                case 24: line.insert(line.end(), {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                                                  static_cast<std::uint8_t>(qRed(c))}); break;
                case 32: Put32(line, c & 0xFFFFFF); break;
            }
        }
        if (filled) line.push_back(static_cast<std::uint8_t>(bits << (8 - filled)));
        while (line.size() % 4) line.push_back(0);
        data.insert(data.end(), line.begin(), line.end());
    }
    return data;
}

Bytes Bitmap(const Kind& k) {
    Bytes palette;
    if (k.bits <= 8) {
        const int colours = 1 << k.bits;
        for (int i = 0; i < colours; ++i) {
            QRgb c = qRgb(0, 0, 0);
            if (k.bits == 1) c = i == 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            else if (i == kKey) c = kKeyColour;
            else if (i == kInk) c = kInkColour;
            palette.insert(palette.end(), {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                                           static_cast<std::uint8_t>(qRed(c)), 0});
        }
    }
    const Bytes data = PixelData(k);
    Bytes b = {'B', 'M'};
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size());
    Put32(b, offset + static_cast<std::uint32_t>(data.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, kWidth);
    Put32(b, kHeight);
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(k.bits));
    Put32(b, static_cast<std::uint32_t>(k.compression));
    Put32(b, static_cast<std::uint32_t>(data.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    b.insert(b.end(), palette.begin(), palette.end());
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

TEST(BitmapFiles, EveryKindOfWindowsBitmapLoadsWithItsKeyColourSeeThrough) {
    const Kind kinds[] = {{"1-bit", 1, 0},  {"4-bit", 4, 0},  {"8-bit", 8, 0},  {"8-bit RLE", 8, 1},
                          {"4-bit RLE", 4, 2}, {"16-bit", 16, 0}, {"24-bit", 24, 0}, {"32-bit", 32, 0}};
    QTemporaryDir dir;
    for (const Kind& k : kinds) {
        const std::string path = dir.filePath(QString::fromLatin1(k.name) + ".bmp").toStdString();
        const Bytes bytes = Bitmap(k);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        PictureSet pictures;
        const Result<void> loaded = pictures.LoadPicture(SpriteId::imHare, QString::fromStdString(path), true);
        ASSERT_TRUE(loaded) << k.name << ": " << loaded.reason();
        const QImage& drawn = pictures.Drawable(SpriteId::imHare);
        ASSERT_EQ(drawn.size(), QSize(kWidth, kHeight)) << k.name;
        // Top row: all ink; bottom row: the key at the left, ink after it.
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const bool key = x == 0 && y == kHeight - 1;
                EXPECT_EQ(qAlpha(drawn.pixel(x, y)), key ? 0 : 255) << k.name << " at " << x << "," << y;
            }
        }
        if (k.bits >= 4) {
            const QRgb ink = drawn.pixel(1, 0);
            EXPECT_NEAR(qGreen(ink), qGreen(kInkColour), 8) << k.name;
            EXPECT_NEAR(qRed(ink), qRed(kInkColour), 8) << k.name;
        }
    }
}

}  // namespace
}  // namespace pellox
