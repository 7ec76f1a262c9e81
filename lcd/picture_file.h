#pragma once
// Reads a skin's picture file: a Windows bitmap, or any other picture Qt
// reads (a PNG named .bmp still loads). A bitmap's header is judged before
// anything is decoded, since skins come from strangers and Qt's bitmap reader
// trusts what the header claims.

#include <QImage>
#include <QString>

namespace pellox {

// The most pixels one picture may have: 4096 x 4096, 64 MB once decoded to
// 32 bits a pixel (making it drawable holds one more such copy for a
// moment). The built-in background has under half a million. A header that
// claims more is refused before a byte is decoded, whatever the file's size.
inline constexpr qint64 kLargestPicture_px = qint64{4096} * 4096;

// The picture at path, or a null picture and why not (in words for a skin's
// author, without the path). A bitmap is refused when its header is cut
// short, it has no pixels or more than kLargestPicture_px, its palette or
// pixels would lie past the end of the file, or it claims more than 256
// palette colours. Pixels that a run-length bitmap never sets are palette
// colour 0; a palette index past the palette's end draws black.
QImage ReadPictureFile(const QString& path, QString* why);

}  // namespace pellox
