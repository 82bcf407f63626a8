// Where a floating window belongs on the screens it can find: one that hardly shows is brought back.
#pragma once

#include <vector>

namespace nimbo {

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// Screen pixels, right and bottom exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ScreenRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The window's place after a start or a change of monitors: unchanged while at least a quarter of it lies on
// one of the work areas (a window dragged partly past an edge stays where the user put it), otherwise moved
// by the least distance to lie inside the nearest work area (its top-left corner when the window is larger).
// With no work area known, nothing moves.
ScreenRect KeepOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

}  // namespace nimbo
