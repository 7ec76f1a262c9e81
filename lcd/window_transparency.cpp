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
    QImage part = frame.copy(area & frame.rect()).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            line[x] = IsKeyPurple(line[x]) ? 0u : line[x] | 0xff000000u;
    }
    return part;
}

}  // namespace pellox
