#pragma once
// The player's side of the game window: mouse on the sprites, typed keys.

#include <QWidget>

#include "controls/window_drag.h"
#include "lcd/sprite_input.h"

namespace pellox {

class GameControls : public SpriteInputHandler {
public:
    explicit GameControls(QWidget& window) : window_(window) {}

    void SpriteMouseDown(SpriteId id, Qt::MouseButton button, QPoint p) override;
    void SpriteMouseMove(SpriteId id, Qt::MouseButtons buttons, QPoint p) override;

    const DragAnchor& Anchor() const { return DragAnchor_; }

private:
    void imBckgrndMouseDown(QPoint p);
    void imBckgrndMouseMove(Qt::MouseButtons buttons, QPoint p);

    QWidget& window_;
    DragAnchor DragAnchor_;
};

}  // namespace pellox
