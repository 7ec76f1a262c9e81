#pragma once
// What the engine needs of the LCD: switch a sprite on or off and read back
// whether it is lit. The lit state of a few sprites is game state.

#include "lcd/core/sprite_layout.h"

namespace pellox {

class SpriteDisplay {
public:
    virtual ~SpriteDisplay() = default;
    virtual void Show(SpriteId id) = 0;
    virtual void Hide(SpriteId id) = 0;
    virtual bool IsVisible(SpriteId id) const = 0;

    void SetVisible(SpriteId id, bool visible) {
        if (visible) Show(id); else Hide(id);
    }
};

}  // namespace pellox
