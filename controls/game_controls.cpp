#include "controls/game_controls.h"

namespace pellox {

void GameControls::SpriteMouseDown(SpriteId id, Qt::MouseButton, QPoint p) {
    if (id == SpriteId::imBckgrnd) imBckgrndMouseDown(p);
}

void GameControls::SpriteMouseMove(SpriteId id, Qt::MouseButtons buttons, QPoint p) {
    if (id == SpriteId::imBckgrnd) imBckgrndMouseMove(buttons, p);
}

void GameControls::imBckgrndMouseDown(QPoint p) {
    // Any button sets the anchor; only the left one drags.
    DragAnchor_ = AnchorAt(p.x(), p.y());
}

void GameControls::imBckgrndMouseMove(Qt::MouseButtons buttons, QPoint p) {
    if (!(buttons & Qt::LeftButton)) return;
    const ScreenPoint to = DraggedWindowPos({window_.x(), window_.y()}, p.x(), p.y(), DragAnchor_);
    window_.move(to.x, to.y);
}

}  // namespace pellox
