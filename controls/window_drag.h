#pragma once
// Moving the borderless window by dragging its background.

#include <cstdint>

namespace pellox {

// Where the pointer was inside the background when a button went down.
struct DragAnchor {
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(ScreenPoint, ScreenPoint) = default;
};

inline DragAnchor AnchorAt(int x, int y) {
    return {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)};
}

// The window moves by as much as the pointer has left the anchor.
inline ScreenPoint DraggedWindowPos(ScreenPoint window, int x, int y, DragAnchor anchor) {
    return {window.x + x - anchor.x, window.y + y - anchor.y};
}

}  // namespace pellox
