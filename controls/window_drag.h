#pragma once
// Moving the borderless window by dragging its background.
//
// The window system moves the window itself where it can: Wayland lets no
// program place its own window, and an X11 window manager that takes the move
// over snaps and constrains it as it does for every window. Where nobody takes
// it (X11 with no window manager), the game moves the window by as much as the
// pointer has left the place where the button went down.

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

// The window as a drag sees it.
class DraggedWindow {
public:
    virtual ~DraggedWindow() = default;
    // Hands the drag in progress to the window system; false when it cannot take it.
    virtual bool StartSystemMove() = 0;
    virtual ScreenPoint Pos() const = 0;
    virtual void MoveTo(ScreenPoint to) = 0;
};

// One drag at a time: a press begins it, moves with the left button held carry it.
class WindowDrag {
public:
    // Any button sets the anchor and begins a new drag.
    void Press(int x, int y) {
        anchor_ = AnchorAt(x, y);
        mode_ = Mode::NotStarted;
    }

    // The pointer moved to (x, y), in window coordinates, with the left button held.
    void Drag(DraggedWindow& window, int x, int y) {
        // The window system is asked once per drag; once it has refused, the game moves the window.
        if (mode_ == Mode::NotStarted) mode_ = window.StartSystemMove() ? Mode::BySystem : Mode::ByGame;
        if (mode_ == Mode::ByGame) window.MoveTo(DraggedWindowPos(window.Pos(), x, y, anchor_));
    }

    const DragAnchor& Anchor() const { return anchor_; }

private:
    enum class Mode { NotStarted, BySystem, ByGame };
    DragAnchor anchor_;
    Mode mode_ = Mode::NotStarted;
};

}  // namespace pellox
