// Where a window opens on a screen: at its offset when it fits, pulled onto
// the available area when it does not, from the area's corner (or with the
// part it keeps on the area) when it is larger than the area.
#include <gtest/gtest.h>

#include "lcd/window_placement.h"

namespace pellox {
namespace {

// The start screen with a title bar and the launched game window.
constexpr QSize kStartScreenFrame{607, 417};
constexpr QPoint kStartScreenOffset{169, 110};
constexpr QSize kGameWindow{883, 566};
constexpr QPoint kGameOffset{194, 146};

TEST(PlacedTopLeft, KeepsTheWholeWindowOnTheAvailableAreaOfItsScreen) {
    struct Case {
        const char* what;
        ScreenArea screen;
        QSize window;
        QPoint offset;
        QPoint expected;
        QRect keep = {};  // what stays on the area of a window larger than it
    };
    // The built-in case's buttons, from game A on the left to the exit button.
    const QRect buttons{741, 76, 87, 137};
    const QRect full_hd{0, 0, 1920, 1080};
    const Case cases[] = {
        {"fits: at its offset", {full_hd, {0, 0, 1920, 1040}}, kGameWindow, kGameOffset, {194, 146}},
        {"1024 x 600: pulled left and up to the edges", {{0, 0, 1024, 600}, {0, 0, 1024, 600}}, kGameWindow,
         kGameOffset, {1024 - 883, 600 - 566}},
        {"1024 x 600 with a top panel: too tall, from just below the panel",
         {{0, 0, 1024, 600}, {0, 40, 1024, 560}}, kGameWindow, kGameOffset, {1024 - 883, 40}},
        {"1280 x 720 with a bottom panel: pulled up above it", {{0, 0, 1280, 720}, {0, 0, 1280, 672}},
         kGameWindow, kGameOffset, {194, 672 - 566}},
        {"1280 x 800 at scale 2, start screen: wider fits, taller starts at the top",
         {{0, 0, 640, 400}, {0, 0, 640, 386}}, kStartScreenFrame, kStartScreenOffset, {640 - 607, 0}},
        {"1280 x 800 at scale 2, game window: larger both ways, from the corner",
         {{0, 0, 640, 400}, {0, 0, 640, 386}}, kGameWindow, kGameOffset, {0, 0}},
        {"primary on the right at x 1920: offsets from its corner", {{1920, 0, 1920, 1080}, {1920, 0, 1920, 1080}},
         kStartScreenFrame, kStartScreenOffset, {1920 + 169, 110}},
        {"screen left of the origin", {{-1280, -200, 1280, 1024}, {-1280, -200, 1280, 1024}}, kGameWindow,
         kGameOffset, {-1280 + 194, -200 + 146}},
        {"screen below another, dock on the left", {{0, 1080, 1024, 600}, {64, 1080, 960, 600}}, kGameWindow,
         kGameOffset, {64 + 960 - 883, 1080 + 600 - 566}},
        {"1280 x 800 at scale 2, game window: moved left until its buttons show",
         {{0, 0, 640, 400}, {0, 0, 640, 386}}, kGameWindow, kGameOffset, {640 - 828, 0}, buttons},
        {"100 x 100: the buttons' right end on it, their top where they are taller than it",
         {{0, 0, 100, 100}, {0, 0, 100, 100}}, kGameWindow, kGameOffset, {100 - 828, -76}, buttons},
        {"a part to keep where the window fits: the offset as usual", {{0, 0, 1920, 1080}, {}}, kGameWindow,
         kGameOffset, {194, 146}, buttons},
        {"exactly as large as the area", {{0, 0, 883, 566}, {0, 0, 883, 566}}, kGameWindow, kGameOffset, {0, 0}},
        {"no work area given: the whole screen", {{0, 0, 1024, 600}, {}}, kGameWindow, kGameOffset,
         {1024 - 883, 600 - 566}},
    };
    for (const Case& c : cases) {
        const QPoint placed = PlacedTopLeft(c.screen, c.window, c.offset, c.keep);
        EXPECT_EQ(placed, c.expected) << c.what;
        // Whatever fits one way lies inside the area that way.
        const QRect area = c.screen.available.isEmpty() ? c.screen.geometry : c.screen.available;
        const QRect window(placed, c.window);
        if (c.window.width() <= area.width()) {
            EXPECT_TRUE(window.left() >= area.left() && window.right() <= area.right()) << c.what;
        }
        if (c.window.height() <= area.height()) {
            EXPECT_TRUE(window.top() >= area.top() && window.bottom() <= area.bottom()) << c.what;
        }
        const QRect kept = c.keep.isEmpty() ? QRect(window.topLeft(), QSize(1, 1)) : c.keep.translated(placed);
        EXPECT_TRUE(area.contains(kept.topLeft())) << c.what;
        if (kept.width() <= area.width() && kept.height() <= area.height()) {
            EXPECT_TRUE(area.contains(kept)) << c.what;
        }
    }
}

}  // namespace
}  // namespace pellox
