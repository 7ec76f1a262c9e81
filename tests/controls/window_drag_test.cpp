#include <QWidget>
#include <gtest/gtest.h>

#include "controls/qt_dragged_window.h"
#include "controls/window_drag.h"

namespace pellox {
namespace {

// A window whose system either takes drags over or refuses them.
struct FakeWindow : DraggedWindow {
    bool system_takes_moves = false;
    int system_move_requests = 0;
    ScreenPoint pos{200, 150};
    std::vector<ScreenPoint> moved_to;

    bool StartSystemMove() override {
        ++system_move_requests;
        return system_takes_moves;
    }
    ScreenPoint Pos() const override { return pos; }
    void MoveTo(ScreenPoint to) override {
        moved_to.push_back(to);
        pos = to;
    }
};

TEST(WindowDrag, TheWindowSystemTakesTheDragWhereItCanAndTheGameMovesTheWindowWhereItCannot) {
    for (const bool system_takes_moves : {true, false}) {
        SCOPED_TRACE(system_takes_moves ? "system moves" : "game moves");
        FakeWindow window;
        window.system_takes_moves = system_takes_moves;
        WindowDrag drag;
        drag.Press(100, 450);
        EXPECT_EQ(window.system_move_requests, 0);  // a press alone is a click, not a drag
        drag.Drag(window, 110, 455);
        drag.Drag(window, 113, 455);  // each move reported from the window's new place
        // The system is asked once per drag, whatever it answered.
        EXPECT_EQ(window.system_move_requests, 1);
        if (system_takes_moves) {
            EXPECT_TRUE(window.moved_to.empty());
        } else {
            EXPECT_EQ(window.moved_to, (std::vector<ScreenPoint>{{210, 155}, {223, 160}}));
        }
        // The next press begins a new drag, which asks the system again.
        drag.Press(50, 60);
        EXPECT_EQ(drag.Anchor().x, 50);
        EXPECT_EQ(drag.Anchor().y, 60);
        drag.Drag(window, 51, 60);
        EXPECT_EQ(window.system_move_requests, 2);
    }
}

TEST(WindowDrag, QtWindowWithoutAWindowSystemMoveRequestFallsBackToMovingItself) {
    // The offscreen platform, like X11 without a window manager, has no move request.
    QWidget widget;
    QtDraggedWindow window(widget);
    EXPECT_FALSE(window.StartSystemMove());  // not even created yet
    widget.show();
    EXPECT_FALSE(window.StartSystemMove());
    window.MoveTo({30, 40});
    EXPECT_EQ(window.Pos(), (ScreenPoint{30, 40}));
}

}  // namespace
}  // namespace pellox
