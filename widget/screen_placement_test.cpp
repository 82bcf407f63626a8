// Bringing back windows saved off-screen, with one monitor and with two; the information window beside the widget.
#include "widget/screen_placement.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

ScreenRect At(int left, int top) { return {left, top, left + 233, top + 248}; }

TEST(KeepOnScreen, AWindowThatHardlyShowsIsPulledInUntilItsTopStripAndAThirdShow) {
    const std::vector<ScreenRect> one = {{0, 0, 1024, 738}};  // a task bar below
    const std::vector<ScreenRect> two = {{0, 0, 1024, 738}, {1024, -200, 2304, 824}};
    const struct {
        ScreenRect window;
        std::vector<ScreenRect> areas;
        ScreenRect expected;
    } cases[] = {
        {At(300, 300), one, At(300, 300)},
        {At(900, 600), one, At(900, 600)},    // half of it shows: the user's choice
        {At(-150, 300), one, At(-150, 300)},  // a third of its width shows
        {At(-200, 300), one, At(-156, 300)},  // less: pulled in by the least distance
        {At(960, 300), one, At(947, 300)},    // past the right edge
        {At(300, 700), one, At(300, 656)},    // under the task bar
        {At(300, -20), one, At(300, 0)},      // the top strip above the screen
        {At(5000, -4000), one, At(791, 0)},   // saved on a monitor that is gone: all of it comes back
        {At(-3000, -3000), two, At(0, 0)},
        {At(2250, 100), two, At(2227, 100)},                               // past the second monitor's right edge
        {At(1100, -400), two, At(1100, -200)},                             // above the second, which reaches higher
        {At(900, 100), two, At(900, 100)},                                 // across the two monitors
        {{0, 0, 2000, 2000}, {{0, 0, 400, 300}}, {0, 0, 2000, 2000}},      // larger than the screen: shows enough
        {{500, 500, 2500, 2500}, {{0, 0, 400, 300}}, {0, 0, 2000, 2000}},  // top-left corner inside
        {At(-5000, 0), {}, At(-5000, 0)},                                  // no monitor known: nothing moves
    };
    for (const auto& c : cases) {
        const ScreenRect got = KeepOnScreen(c.window, c.areas);
        EXPECT_EQ(got, c.expected) << c.window.left << "," << c.window.top << " -> " << got.left << "," << got.top;
    }
}

TEST(PlaceBeside, AWindowCoveringTheWidgetStandsBesideItInsideTheWorkArea) {
    const std::vector<ScreenRect> screen = {{0, 0, 1024, 738}};
    const auto info = [](int left, int top) { return ScreenRect{left, top, left + 209, top + 204}; };
    const struct {
        ScreenRect window;
        ScreenRect anchor;
        ScreenRect expected;
    } cases[] = {
        {info(331, 331), At(300, 300), info(533, 300)},  // the first start: on the right
        {info(331, 331), At(395, 260), info(628, 260)},  // the widget in the middle of the screen
        {info(600, 400), At(700, 300), info(491, 300)},  // no room on the right: on the left
        {info(600, 600), At(700, 600), info(491, 534)},  // beside, pulled up into the work area
        {info(10, 10), At(0, 0), info(233, 0)},
        {info(533, 300), At(300, 300), info(533, 300)},  // touching is not covering: stays
        {info(800, 20), At(300, 300), info(800, 20)},    // the user's place, covering nothing
    };
    for (const auto& c : cases) {
        const ScreenRect got = PlaceBeside(c.window, c.anchor, screen);
        EXPECT_EQ(got, c.expected) << c.window.left << "," << c.window.top << " -> " << got.left << "," << got.top;
    }
    // A narrow screen: below, else above, else as near as it fits.
    const std::vector<ScreenRect> narrow = {{0, 0, 400, 1000}};
    EXPECT_EQ(PlaceBeside(info(100, 100), At(100, 100), narrow), info(100, 348));
    EXPECT_EQ(PlaceBeside(info(100, 800), At(100, 700), narrow), info(100, 496));
    EXPECT_EQ(PlaceBeside(info(0, 0), At(0, 0), {{0, 0, 400, 300}}), info(191, 0));
    EXPECT_EQ(PlaceBeside(info(0, 0), At(0, 0), {}), info(0, 0));
}

}  // namespace
}  // namespace nimbo
