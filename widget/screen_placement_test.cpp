// Bringing back windows saved off-screen, with one monitor and with two.
#include "widget/screen_placement.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

ScreenRect At(int left, int top) { return {left, top, left + 233, top + 248}; }

TEST(KeepOnScreen, AWindowThatHardlyShowsMovesInsideTheNearestWorkArea) {
    const std::vector<ScreenRect> one = {{0, 0, 1024, 738}};  // a task bar below
    const std::vector<ScreenRect> two = {{0, 0, 1024, 738}, {1024, -200, 2304, 824}};
    const struct {
        ScreenRect window;
        std::vector<ScreenRect> areas;
        ScreenRect expected;
    } cases[] = {
        {At(300, 300), one, At(300, 300)},
        {At(900, 600), one, At(900, 600)},      // half of it shows: the user's choice
        {At(-170, 300), one, At(-170, 300)},    // a quarter and more shows
        {At(-200, 300), one, At(0, 300)},       // less than a quarter: moved by the least distance
        {At(5000, -4000), one, At(791, 0)},     // saved on a monitor that is gone
        {At(300, 730), one, At(300, 490)},      // under the task bar
        {At(2250, 100), two, At(2071, 100)},    // past the second monitor's right edge
        {At(1100, -400), two, At(1100, -200)},  // above the second, which reaches higher
        {At(-3000, -3000), two, At(0, 0)},
        {{0, 0, 2000, 2000}, {{0, 0, 400, 300}}, {0, 0, 2000, 2000}},      // larger than the screen: shows enough
        {{500, 500, 2500, 2500}, {{0, 0, 400, 300}}, {0, 0, 2000, 2000}},  // top-left corner inside
        {At(-5000, 0), {}, At(-5000, 0)},                                  // no monitor known: nothing moves
    };
    for (const auto& c : cases) {
        const ScreenRect got = KeepOnScreen(c.window, c.areas);
        EXPECT_EQ(got, c.expected) << c.window.left << "," << c.window.top << " -> " << got.left << "," << got.top;
    }
}

}  // namespace
}  // namespace nimbo
