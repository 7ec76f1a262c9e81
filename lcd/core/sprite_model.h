#pragma once
// The state of the 82 sprites: where each lies, whether it is lit, whether its
// picture has a key colour. No pictures and no widgets here; the window listens
// for changes and repaints the touched rectangle.

#include <array>
#include <functional>

#include "lcd/core/sprite_display.h"

namespace pellox {

struct SpriteState {
    Bounds bounds;
    bool visible = false;
    bool transparent = true;
};

enum class SpriteChange { Visibility, Geometry, Picture };

class SpriteModel : public SpriteDisplay {
public:
    // dirty: the screen rectangle that needs repainting (old and new box for a move).
    using Listener = std::function<void(SpriteId, SpriteChange, const Bounds& dirty)>;

    SpriteModel();  // the built-in layout, visibility as at start

    void Show(SpriteId id) override;
    void Hide(SpriteId id) override;
    bool IsVisible(SpriteId id) const override;

    void SetTop(SpriteId id, int top);
    void SetBounds(SpriteId id, const Bounds& bounds);
    // Tell listeners that a sprite's picture was replaced.
    void PictureChanged(SpriteId id);

    const SpriteState& State(SpriteId id) const { return sprites_[static_cast<std::size_t>(id)]; }
    const Bounds& BoundsOf(SpriteId id) const { return State(id).bounds; }

    void SetListener(Listener listener) { listener_ = std::move(listener); }

private:
    SpriteState& Mutable(SpriteId id) { return sprites_[static_cast<std::size_t>(id)]; }
    void Notify(SpriteId id, SpriteChange change, const Bounds& dirty);

    std::array<SpriteState, kSpriteCount> sprites_{};
    Listener listener_;
};

// The smallest box holding both.
Bounds Union(const Bounds& a, const Bounds& b);

}  // namespace pellox
