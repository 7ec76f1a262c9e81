#include "startscreen/style_pictures.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QString>

namespace pellox {
namespace {

// A number as QPixmap's cache names write it: its bytes in memory order, each
// as two hex digits, the low one first.
template <typename Number>
QString CacheHex(Number value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    QString text;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof value; ++i) {
        text += QLatin1Char(kDigits[bytes[i] & 0xf]);
        text += QLatin1Char(kDigits[bytes[i] >> 4]);
    }
    return text;
}

}  // namespace

void CacheStylePictures() {
    const QFileInfo frame(QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
    if (!frame.exists()) return;
    // QPixmap::load's name for a picture file: its path, time and size, and
    // the kind of pixmap (0, a colour one).
    const QString key = QStringLiteral("qt_pixmap") + frame.absoluteFilePath() +
                        CacheHex<uint>(static_cast<uint>(frame.lastModified().toSecsSinceEpoch())) +
                        CacheHex<quint64>(static_cast<quint64>(frame.size())) + CacheHex<uint>(0);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached)) return;
    QImageReader reader(frame.absoluteFilePath(), "PNG");
    reader.setAutoDetectImageFormat(false);
    const QImage picture = reader.read();
    if (!picture.isNull()) QPixmapCache::insert(key, QPixmap::fromImage(picture));
}

}  // namespace pellox
