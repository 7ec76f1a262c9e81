#include "lcd/picture_set.h"

#include <QFileInfo>
#include <utility>

#include "lcd/device_ratio.h"
#include "lcd/picture_file.h"

namespace pellox {

QRgb KeyColourOf(const QImage& picture) {
    if (picture.depth() == 1) return qRgb(255, 255, 255);
    if (picture.isNull()) return qRgb(0, 0, 0);
    return picture.pixel(0, picture.height() - 1) | 0xff000000u;
}

QImage MakeDrawable(const QImage& picture, bool transparent) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull()) return out;
    if (transparent) {
        const QRgb key = KeyColourOf(picture) & 0x00ffffffu;
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                // Bitmaps carry no alpha: only the colour decides.
                line[x] = (line[x] & 0x00ffffffu) == key ? 0u : (line[x] | 0xff000000u);
            }
        }
    } else {
        for (int y = 0; y < out.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) line[x] |= 0xff000000u;
        }
    }
    // Converted in place: a picture of the largest size is not copied once more.
    return std::move(out).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void PictureSet::SetPicture(SpriteId id, const QImage& picture, bool transparent) {
    const auto i = static_cast<std::size_t>(id);
    drawable_[i] = MakeDrawable(picture, transparent);
    from_source_[i] = false;
    MakeSharp(id);
}

void PictureSet::SetSharpSource(SharpSource source) {
    source_ = std::move(source);
    for (int i = 0; i < kSpriteCount; ++i) {
        from_source_[static_cast<std::size_t>(i)] = !drawable_[static_cast<std::size_t>(i)].isNull();
        MakeSharp(SpriteAt(i));
    }
}

void PictureSet::UseRatio(qreal ratio) {
    ratio_ = ratio > 1.0 ? ratio : 1.0;
    factor_ = SharpFactor(ratio_);
    for (int i = 0; i < kSpriteCount; ++i) MakeSharp(SpriteAt(i));
}

const QImage& PictureSet::Sharp(SpriteId id) const {
    const auto i = static_cast<std::size_t>(id);
    return factor_ > 1 ? sharp_[i] : drawable_[i];
}

void PictureSet::MakeSharp(SpriteId id) {
    const auto i = static_cast<std::size_t>(id);
    sharp_[i] = QImage();
    if (factor_ <= 1 || drawable_[i].isNull()) return;
    if (from_source_[i] && source_) {
        QImage made = source_(id, factor_);
        if (!made.isNull() && made.size() == drawable_[i].size() * factor_) {
            sharp_[i] = std::move(made);
            return;
        }
        // A source that fails leaves the picture enlarged, as a bitmap is.
    }
    sharp_[i] = ScaleNearest(drawable_[i], BitmapFactor(ratio_));
}

Result<void> PictureSet::LoadPicture(SpriteId id, const QString& path, bool transparent) {
    if (!QFileInfo(path).isFile()) return Failure(QStringLiteral("Cannot open file %1").arg(path).toStdString());
    const Result<QImage> picture = ReadPictureFile(path);
    if (!picture) return Failure(path.toStdString() + ": " + picture.reason());
    SetPicture(id, *picture, transparent);
    return {};
}

}  // namespace pellox
