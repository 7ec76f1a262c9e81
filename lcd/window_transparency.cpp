#include "lcd/window_transparency.h"

#include <QGuiApplication>

#include "lcd/window_mask.h"

namespace pellox {

SeeThroughBy SeeThroughFor(const QString& platform_name) {
    // Qt Wayland's plugins are all named wayland-something ("wayland", "wayland-egl").
    // Its buffers always carry alpha, so the transparent picture always shows.
    return platform_name.startsWith(QLatin1String("wayland")) ? SeeThroughBy::Alpha : SeeThroughBy::ShapeMask;
}

SeeThroughBy SeeThroughOnThisPlatform() { return SeeThroughFor(QGuiApplication::platformName()); }

QImage PurpleKeyedOut(const QImage& frame, const QRect& area) {
    const QRect box = area & frame.rect();
    // The composed frame holds QRgb words already; anything else is brought to them first.
    const bool words = frame.format() == QImage::Format_ARGB32_Premultiplied ||
                       frame.format() == QImage::Format_ARGB32 || frame.format() == QImage::Format_RGB32;
    const QImage source = words ? frame : frame.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage part(box.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < box.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(box.top() + y)) + box.left();
        auto* to = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < box.width(); ++x) to[x] = IsKeyPurple(from[x]) ? 0u : from[x] | 0xff000000u;
    }
    return part;
}

}  // namespace pellox
