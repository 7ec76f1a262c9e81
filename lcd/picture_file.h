#pragma once
// Reads a skin's picture file: a Windows bitmap, or a PNG, GIF or JPEG
// picture whatever its name (a PNG named .bmp still loads), decoded from the
// bytes read here and never from any other file. A bitmap's header is judged before
// anything is decoded, since skins come from strangers and Qt's bitmap reader
// trusts what the header claims.

#include <QImage>
#include <QString>

#include "base/result.h"

namespace pellox {

// The most pixels one picture may have: 4096 x 4096, 64 MB once decoded to
// 32 bits a pixel (making it drawable holds one more such copy for a
// moment). The built-in background has under half a million. A header that
// claims more is refused before a byte is decoded, whatever the file's size.
inline constexpr qint64 kLargestPicture_px = qint64{4096} * 4096;

// The largest picture file read: the largest picture as an uncompressed
// 32-bit bitmap, and room for its headers.
inline constexpr qint64 kLargestPictureFile_bytes = kLargestPicture_px * 4 + 65536;

// Which of the formats a skin's picture may be its first bytes are: "BMP",
// "PNG", "GIF" or "JPEG", or empty for any other (SVG among them, since it
// may name other files to open).
QByteArray PictureFormat(const QByteArray& head);

// The picture at path, or why not (in words for a skin's author, without the
// path). A bitmap is refused when its header is cut
// short, it has no pixels or more than kLargestPicture_px, its palette or
// pixels would lie past the end of the file, or it claims more than 256
// palette colours. Pixels that a run-length bitmap never sets are palette
// colour 0; a palette index past the palette's end draws black.
Result<QImage> ReadPictureFile(const QString& path);

// One of the game's own bitmaps (a resource ":/..." or a file), read as a
// bitmap by Qt's built-in reader alone: asked for a format, Qt would first
// load every image plugin it has to let each decline it (SVG among them).
// Null when it cannot be read.
QImage ReadOwnBitmap(const QString& path);

}  // namespace pellox
