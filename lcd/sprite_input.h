#pragma once
// What the game window reports to the controls: mouse events per sprite, with
// the pointer in the sprite's own coordinates, and typed characters.

#include <QPoint>
#include <Qt>

#include "lcd/core/sprite_layout.h"

namespace pellox {

class SpriteInputHandler {
public:
    virtual ~SpriteInputHandler() = default;
    virtual void SpriteMouseDown(SpriteId, Qt::MouseButton, QPoint) {}
    // buttons: the buttons held while the pointer moves.
    virtual void SpriteMouseMove(SpriteId, Qt::MouseButtons, QPoint) {}
    virtual void SpriteMouseUp(SpriteId, Qt::MouseButton, QPoint) {}
    // A left-button press and release on the same sprite.
    virtual void SpriteClick(SpriteId) {}
    virtual void CharacterTyped(QChar) {}
    // The window is about to close, by the exit button or by the window manager.
    virtual void WindowClosing() {}
};

}  // namespace pellox
