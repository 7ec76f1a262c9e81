#include "startscreen/start_picture.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <system_error>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace pellox {
namespace {

// The file: a header, then the rows of 32-bit pixels as QImage::Format_RGB32
// holds them, top to bottom, with no padding (a 32-bit row never has any).
constexpr std::array<char, 8> kMagic{'P', 'E', 'L', 'L', 'O', 'X', 'S', 'P'};
constexpr int kStampBytes = 48;
struct Header {
    std::array<char, 8> magic;
    // Which program and Qt painted it: another version may paint otherwise.
    std::array<char, kStampBytes> stamp;
    std::uint32_t width;   // device pixels, little-endian
    std::uint32_t height;
};
static_assert(sizeof(Header) == 8 + kStampBytes + 8);

std::array<char, kStampBytes> Stamp() {
    const std::string text = std::string("Pellox " PELLOX_VERSION " Qt ") + qVersion();
    std::array<char, kStampBytes> stamp{};
    std::memcpy(stamp.data(), text.data(), std::min<std::size_t>(text.size(), stamp.size()));
    return stamp;
}

// The window's size in device pixels at a ratio: a start screen is never
// bigger than this many at any ratio a screen has.
constexpr std::uint32_t kMostPixels = 8192u * 8192u;

}  // namespace

StartPicture::StartPicture(const std::filesystem::path& folder, InterfaceLanguage language, double pixel_ratio)
    : pixel_ratio_(pixel_ratio) {
    const long per_mille = std::lround(pixel_ratio * 1000.0);
    file_ = folder / ("start-screen-" + std::string(language == InterfaceLanguage::Russian ? "ru" : "en") + "-" +
                      std::to_string(per_mille) + ".frame");
}

QImage StartPicture::Read(QSize device_pixels) const {
    if (device_pixels.isEmpty()) return {};
    const auto width = static_cast<std::uint32_t>(device_pixels.width());
    const auto height = static_cast<std::uint32_t>(device_pixels.height());
    if (std::uint64_t{width} * height > kMostPixels) return {};
    // Only a regular file of exactly the expected length is read.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file_, ec)) return {};
    const std::uint64_t expected = sizeof(Header) + std::uint64_t{width} * height * 4;
    if (std::filesystem::file_size(file_, ec) != expected || ec) return {};
    QFile file(QString::fromStdString(file_.string()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    Header header{};
    if (file.read(reinterpret_cast<char*>(&header), sizeof header) != static_cast<qint64>(sizeof header)) return {};
    if (header.magic != kMagic || header.stamp != Stamp() || qFromLittleEndian(header.width) != width ||
        qFromLittleEndian(header.height) != height)
        return {};
    QImage picture(device_pixels, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    const qint64 bytes = picture.sizeInBytes();
    if (file.read(reinterpret_cast<char*>(picture.bits()), bytes) != bytes) return {};
    picture.setDevicePixelRatio(pixel_ratio_);
    return picture;
}

Result<void> StartPicture::Write(const QImage& frame) const {
    const QImage pixels = frame.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull() || pixels.bytesPerLine() != pixels.width() * 4)
        return Failure("no frame of the start screen to keep");
    const QString path = QString::fromStdString(file_.string());
    if (!QDir().mkpath(QString::fromStdString(file_.parent_path().string())))
        return Failure("cannot make the folder " + file_.parent_path().string());
    Header header{kMagic, Stamp(), qToLittleEndian(static_cast<std::uint32_t>(pixels.width())),
                  qToLittleEndian(static_cast<std::uint32_t>(pixels.height()))};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return Failure(file_.string() + ": " + file.errorString().toStdString());
    const auto bytes = static_cast<qint64>(pixels.sizeInBytes());
    if (file.write(reinterpret_cast<const char*>(&header), sizeof header) != static_cast<qint64>(sizeof header) ||
        file.write(reinterpret_cast<const char*>(pixels.constBits()), bytes) != bytes || !file.commit())
        return Failure(file_.string() + ": " + file.errorString().toStdString());
    return {};
}

}  // namespace pellox
