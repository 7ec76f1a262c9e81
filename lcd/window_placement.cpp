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

// One direction. A window that fits: the offset, or the nearest place inside
// the area. A larger one: from the area's start, moved back just enough to
// bring the far end of the part to keep (keep_start, keep_length) onto the
// area, but never so far that its near end leaves the area.
int PlacedStart(int area_start, int area_length, int window_length, int offset, int keep_start, int keep_length) {
    if (window_length <= area_length) {
        const int last_start = area_start + area_length - window_length;
        return std::clamp(area_start + offset, area_start, last_start);
    }
    if (keep_length <= 0) return area_start;
    const int keep_end = keep_start + keep_length;
    const int start = std::min(area_start, area_start + area_length - keep_end);
    return std::max(start, area_start - keep_start);
}

}  // namespace

QPoint PlacedTopLeft(const ScreenArea& screen, QSize frame_size, QPoint offset, const QRect& keep) {
    const QRect area = screen.available.isEmpty() ? screen.geometry : screen.available;
    return {PlacedStart(area.x(), area.width(), frame_size.width(), offset.x(), keep.x(), keep.width()),
            PlacedStart(area.y(), area.height(), frame_size.height(), offset.y(), keep.y(), keep.height())};
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

void PlaceOnScreenUnderPointer(QWidget& window, QPoint offset, const QRect& keep) {
    QScreen* screen = ScreenUnderPointer();
    if (!screen) return;
    const QMargins frame = ExpectedFrameMargins(window);
    const QSize frame_size = window.size().grownBy(frame);
    const QRect keep_in_frame = keep.translated(frame.left(), frame.top());
    QPoint corner =
        PlacedTopLeft({screen->geometry(), screen->availableGeometry()}, frame_size, offset, keep_in_frame);
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
