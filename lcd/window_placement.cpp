#include "lcd/window_placement.h"

#include <algorithm>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

namespace pellox {
namespace {

// One direction: the offset when the window fits there, else the nearest
// place inside the area, else the area's start.
int PlacedStart(int area_start, int area_length, int window_length, int offset) {
    if (window_length >= area_length) return area_start;
    const int last_start = area_start + area_length - window_length;
    return std::clamp(area_start + offset, area_start, last_start);
}

}  // namespace

QPoint PlacedTopLeft(const ScreenArea& screen, QSize frame_size, QPoint offset) {
    const QRect area = screen.available.isEmpty() ? screen.geometry : screen.available;
    return {PlacedStart(area.x(), area.width(), frame_size.width(), offset.x()),
            PlacedStart(area.y(), area.height(), frame_size.height(), offset.y())};
}

QScreen* ScreenUnderPointer() {
    if (QScreen* under = QGuiApplication::screenAt(QCursor::pos())) return under;
    return QGuiApplication::primaryScreen();
}

QMargins ExpectedFrameMargins(const QWidget& window) {
    if (window.windowFlags() & Qt::FramelessWindowHint) return {};
    if (const QWindow* handle = window.windowHandle(); handle && !handle->frameMargins().isNull())
        return handle->frameMargins();
    // The style's own frame of a framed subwindow stands in for the window manager's.
    const QStyle& style = *window.style();
    const int border = style.pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
    const int title_bar = style.pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return {border, border + title_bar, border, border};
}

void PlaceOnScreenUnderPointer(QWidget& window, QPoint offset) {
    QScreen* screen = ScreenUnderPointer();
    if (!screen) return;
    const QMargins frame = ExpectedFrameMargins(window);
    const QSize frame_size = window.size().grownBy(frame);
    QPoint corner = PlacedTopLeft({screen->geometry(), screen->availableGeometry()}, frame_size, offset);
    // Before the window is made, move() places its frame's corner (the window
    // manager puts the frame there). Once made, move() places it by the frame
    // Qt knows, which is none while the window manager has not told it: the
    // frame expected here is allowed for instead.
    if (window.testAttribute(Qt::WA_WState_Created)) {
        const QPoint known_frame = window.geometry().topLeft() - window.pos();
        corner += QPoint(frame.left(), frame.top()) - known_frame;
    } else {
        // Made on that screen from the start, with its pixel ratio.
        window.setScreen(screen);
    }
    window.move(corner);
}

}  // namespace pellox
