// The monitors as the system reports them, and a window brought back from far away.
#include "widget/screen_placement_win.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(ScreenPlacementWin, AWindowFarOffEveryMonitorIsBroughtBack) {
    const std::vector<ScreenRect> areas = MonitorWorkAreas();
    ASSERT_FALSE(areas.empty());
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", nullptr, WS_POPUP, -6000, -6000, 233, 248, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(KeepWindowOnScreen(window));
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 233);
    const ScreenRect placed{rect.left, rect.top, rect.right, rect.bottom};
    EXPECT_EQ(KeepOnScreen(placed, areas), placed);
    EXPECT_FALSE(KeepWindowOnScreen(window));  // on screen now: left where it is
    DestroyWindow(window);
}

}  // namespace
}  // namespace nimbo
