#pragma once
// What the game window reports to the controls: mouse events per sprite, with
// the pointer in the sprite's own coordinates, and key presses.

#include <QPoint>
#include <Qt>

#include "lcd/sprite_layout.h"

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
    // A key press: each character it typed (a null character when it typed
    // none) with the physical key's native scan code (0 when unknown).
    virtual void KeyTyped(QChar, quint32) {}
    // The window is about to close, by the exit button or by the window manager.
    virtual void WindowClosing() {}
};

}  // namespace pellox
