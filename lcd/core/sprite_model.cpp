#include "lcd/core/sprite_model.h"

#include <algorithm>

namespace pellox {

SpriteModel::SpriteModel() {
    for (int i = 0; i < kSpriteCount; ++i) {
        const SpriteLayout& layout = LayoutOf(SpriteAt(i));
        sprites_[static_cast<std::size_t>(i)] =
            SpriteState{layout.bounds, layout.visibleAtStart, layout.transparent};
    }
}

void SpriteModel::Show(SpriteId id) {
    if (State(id).visible) return;  // lighting a lit segment changes nothing
    Mutable(id).visible = true;
    Notify(id, SpriteChange::Visibility, State(id).bounds);
}

void SpriteModel::Hide(SpriteId id) {
    if (!State(id).visible) return;
    Mutable(id).visible = false;
    Notify(id, SpriteChange::Visibility, State(id).bounds);
}

bool SpriteModel::IsVisible(SpriteId id) const { return State(id).visible; }

void SpriteModel::SetTop(SpriteId id, int top) {
    Bounds moved = State(id).bounds;
    moved.top = top;
    SetBounds(id, moved);
}

void SpriteModel::SetBounds(SpriteId id, const Bounds& bounds) {
    const Bounds old = State(id).bounds;
    if (old == bounds) return;
    Mutable(id).bounds = bounds;
    Notify(id, SpriteChange::Geometry, Union(old, bounds));
}

void SpriteModel::PictureChanged(SpriteId id) {
    Notify(id, SpriteChange::Picture, State(id).bounds);
}

void SpriteModel::Notify(SpriteId id, SpriteChange change, const Bounds& dirty) {
    if (listener_) listener_(id, change, dirty);
}

Bounds Union(const Bounds& a, const Bounds& b) {
    if (a.width <= 0 || a.height <= 0) return b;
    if (b.width <= 0 || b.height <= 0) return a;
    const int left = std::min(a.left, b.left);
    const int top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width);
    const int bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, right - left, bottom - top};
}

}  // namespace pellox
