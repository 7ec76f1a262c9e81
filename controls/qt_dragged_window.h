#pragma once
// A top-level widget's window, dragged by its background.

#include <QWidget>
#include <QWindow>

#include "controls/window_drag.h"

namespace pellox {

class QtDraggedWindow : public DraggedWindow {
public:
    explicit QtDraggedWindow(QWidget& widget) : widget_(widget) {}

    // False where nobody takes the move: the offscreen platform, X11 without a
    // window manager, Wayland without a pointer.
    bool StartSystemMove() override {
        QWindow* window = widget_.windowHandle();
        return window && window->startSystemMove();
    }
    ScreenPoint Pos() const override { return {widget_.x(), widget_.y()}; }
    void MoveTo(ScreenPoint to) override { widget_.move(to.x, to.y); }

private:
    QWidget& widget_;
};

}  // namespace pellox
