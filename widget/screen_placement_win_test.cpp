// The monitors as the system reports them, and a window brought back from far away onto them.
#include "widget/screen_placement_win.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(ScreenPlacementWin, EveryMonitorHasAWorkAreaThatKeepsAWindowOnIt) {
    const std::vector<ScreenRect> areas = MonitorWorkAreas();
    ASSERT_FALSE(areas.empty());
    for (const ScreenRect& area : areas) EXPECT_TRUE(area.Width() > 0 && area.Height() > 0);
    // A window far off every monitor comes back onto one of them, at its size.
    const ScreenRect placed = KeepOnScreen({-6000, -6000, -6000 + 233, -6000 + 248}, areas);
    EXPECT_EQ(placed.Width(), 233);
    EXPECT_EQ(KeepOnScreen(placed, areas), placed);
}

}  // namespace
}  // namespace nimbo
