#include "lcd/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <cstdint>

namespace pellox {
namespace {

constexpr qint64 kFileHeaderBytes = 14;
constexpr qint64 kOldInfoHeaderBytes = 12;  // 16-bit width and height
constexpr qint64 kInfoHeaderBytes = 40;     // and every later kind begins like this one
constexpr qint64 kV4InfoHeaderBytes = 108;  // holds its colour masks itself
constexpr int kHeadBytes = kFileHeaderBytes + kInfoHeaderBytes;
// Enough zeros for a cut-off absolute run (at most 255 pixels) and the end
// of its line.
constexpr int kBitmapTail_bytes = 512;

std::uint32_t U16(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8;
}
std::uint32_t U32(const QByteArray& b, int at) { return U16(b, at) | U16(b, at + 2) << 16; }

QString PixelCount(qint64 width, qint64 height) {
    return QStringLiteral("%1 x %2 pixels").arg(width).arg(height);
}

// Why Qt's bitmap reader must not be handed this file; an empty text when it
// may. Unchecked, a claim of pixels past the end of the file gave a picture
// of whatever memory held, and a 100-byte file claiming 5000 x 5000 pixels
// cost 300 MB.
QString BitmapProblem(const QByteArray& head, qint64 file_bytes) {
    const QString cut_short = QStringLiteral("the bitmap's header is cut short");
    if (head.size() < kFileHeaderBytes + 4) return cut_short;
    const qint64 header_bytes = U32(head, 14);
    const bool old = header_bytes == kOldInfoHeaderBytes;
    if (!old && header_bytes < kInfoHeaderBytes)
        return QStringLiteral("an unknown kind of bitmap header (%1 bytes)").arg(header_bytes);
    if (file_bytes < kFileHeaderBytes + header_bytes || head.size() < kFileHeaderBytes + (old ? 12 : 40))
        return cut_short;

    // Old headers hold 16-bit sizes; the others 32-bit, a negative height
    // meaning rows top down.
    const qint64 width = old ? static_cast<std::int16_t>(U16(head, 18)) : static_cast<std::int32_t>(U32(head, 18));
    qint64 height = old ? static_cast<std::int16_t>(U16(head, 20)) : static_cast<std::int32_t>(U32(head, 22));
    const std::uint32_t bits = U16(head, old ? 24 : 28);
    const std::uint32_t compression = old ? 0 : U32(head, 30);
    const std::uint32_t image_bytes = old ? 0 : U32(head, 34);
    const std::uint32_t colours_used = old ? 0 : U32(head, 46);
    if (height < 0) height = -height;

    if (width <= 0 || height == 0) return QStringLiteral("the bitmap has no pixels (%1)").arg(PixelCount(width, height));
    if (width * height > kLargestPicture_px)
        return QStringLiteral("the bitmap is %1: at most %2 pixels (4096 x 4096) are read")
            .arg(PixelCount(width, height))
            .arg(kLargestPicture_px);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return QStringLiteral("%1 bits a pixel: bitmaps of 1, 4, 8, 16, 24 or 32 are read").arg(bits);
    const bool run_length = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
    const bool bit_fields = compression == 3 && (bits == 16 || bits == 32);
    if (compression != 0 && !run_length && !bit_fields)
        return QStringLiteral("a compression (%1) that bitmaps of %2 bits a pixel do not have").arg(compression).arg(bits);

    // The palette follows the header (and the colour masks that a 40-byte
    // header leaves out); the pixels start at the offset the file header
    // gives, or right after the palette when that offset points back into it.
    qint64 colours = 0;
    if (bits <= 8) {
        colours = colours_used != 0 ? colours_used : (1 << bits);
        if (colours > 256) return QStringLiteral("the bitmap claims %1 palette colours: at most 256").arg(colours);
    }
    const qint64 masks = bit_fields && header_bytes < kV4InfoHeaderBytes ? 12 : 0;
    const qint64 palette_end = kFileHeaderBytes + header_bytes + masks + colours * (old ? 3 : 4);
    if (palette_end > file_bytes) {
        return QStringLiteral("the bitmap's palette of %1 colours is cut short: it would end at byte %2 of %3")
            .arg(colours)
            .arg(palette_end)
            .arg(file_bytes);
    }
    const qint64 offset = U32(head, 10);
    const qint64 pixels_start = offset > palette_end ? offset : palette_end;
    if (pixels_start >= file_bytes) {
        return QStringLiteral("the bitmap's pixels would start at byte %1, past the end of its %2 bytes")
            .arg(pixels_start)
            .arg(file_bytes);
    }
    // Rows are padded to whole 32-bit words; a run-length bitmap says its
    // length, when it does, in the header.
    const qint64 pixel_bytes = run_length ? image_bytes : (width * bits + 31) / 32 * 4 * height;
    if (pixels_start + pixel_bytes > file_bytes) {
        return QStringLiteral("the bitmap's pixels are cut short: %1 bytes from byte %2, but the file has %3")
            .arg(pixel_bytes)
            .arg(pixels_start)
            .arg(file_bytes);
    }
    return {};
}

QString TooManyPixels(const QSize& size) {
    return QStringLiteral("the picture is %1: at most %2 pixels (4096 x 4096) are read")
        .arg(PixelCount(size.width(), size.height()))
        .arg(kLargestPicture_px);
}

// A GIF's logical screen, from bytes 6 to 9 of its header.
QSize GifScreenSize(const QByteArray& bytes) {
    if (bytes.size() < 10) return {};
    const auto at = [&bytes](int i) { return static_cast<int>(static_cast<unsigned char>(bytes[i])); };
    return {at(6) | (at(7) << 8), at(8) | (at(9) << 8)};
}

}  // namespace

QByteArray PictureFormat(const QByteArray& head) {
    // Only formats whose every pixel is in the file itself: a format that may
    // name other files (SVG names pictures, and a FIFO or /dev/zero there
    // would hang the game) is never handed to Qt.
    if (head.startsWith("BM")) return QByteArrayLiteral("BMP");
    if (head.startsWith("\x89PNG\r\n\x1a\n")) return QByteArrayLiteral("PNG");
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) return QByteArrayLiteral("GIF");
    if (head.startsWith("\xFF\xD8\xFF")) return QByteArrayLiteral("JPEG");
    return {};
}

Result<QImage> ReadPictureFile(const QString& path) {
    auto fail = [](const QString& reason) { return Failure(reason.toStdString()); };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("the file cannot be opened"));
    const qint64 file_bytes = file.size();
    if (file_bytes == 0) return fail(QStringLiteral("the file is empty"));
    if (file_bytes > kLargestPictureFile_bytes) {
        return fail(QStringLiteral("the file has %1 bytes: pictures of at most %2 bytes are read")
                        .arg(file_bytes)
                        .arg(kLargestPictureFile_bytes));
    }
    QByteArray bytes = file.readAll();
    if (bytes.size() != file_bytes) return fail(QStringLiteral("the file cannot be read"));

    const QByteArray format = PictureFormat(bytes.left(kHeadBytes));
    if (format.isEmpty())
        return fail(QStringLiteral("not a readable picture (BMP, PNG, GIF and JPEG pictures are read)"));
    const bool bitmap = format == "BMP";
    if (bitmap) {
        if (QString problem = BitmapProblem(bytes.left(kHeadBytes), file_bytes); !problem.isEmpty())
            return fail(problem);
        // Qt's bitmap reader colours a pixel from whatever a byte it could
        // not read held when a run is cut off by the end of the file; past
        // the end it reads these zeros instead, which end each line and
        // leave the rest colour 0.
        bytes.append(QByteArray(kBitmapTail_bytes, '\0'));
    }

    // Decoded from the bytes read here, as the format chosen above and no
    // other; Qt refuses on its own anything that would need more memory
    // than the largest picture.
    QImageReader::setAllocationLimit(kLargestPicture_px * 4 / (1024 * 1024));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (!size.isValid()) return fail(QStringLiteral("not a readable picture (its header gives no size)"));
    if (qint64{size.width()} * size.height() > kLargestPicture_px) return fail(TooManyPixels(size));
    // Qt gives a GIF's first image's size, but decodes the whole screen,
    // which the GIF's own header gives: judged here, a screen too large is
    // refused by its size rather than by a failed decode.
    if (format == "GIF") {
        const QSize screen = GifScreenSize(bytes);
        if (qint64{screen.width()} * screen.height() > kLargestPicture_px) return fail(TooManyPixels(screen));
    }

    QImage picture;
    if (bitmap) {
        // Qt's bitmap reader leaves pixels that a run-length bitmap never
        // sets as the allocator left them (heap garbage on screen); handed a
        // picture of the right size and format, it fills that one instead.
        picture = QImage(size, reader.imageFormat());
        picture.fill(0);
    }
    if (!reader.read(&picture) || picture.isNull() || picture.width() <= 0 || picture.height() <= 0)
        return fail(QStringLiteral("not a readable picture"));
    // A GIF's screen may be larger than its first image, which its header
    // gives: the picture is the screen, judged again by its own size.
    if (qint64{picture.width()} * picture.height() > kLargestPicture_px) return fail(TooManyPixels(picture.size()));
    return picture;
}

QImage ReadOwnBitmap(const QString& path) {
    QImageReader reader(path, "BMP");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

}  // namespace pellox
