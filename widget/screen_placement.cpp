// Bringing back a window that lies (nearly) off every screen.
#include "widget/screen_placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace nimbo {
namespace {

int64_t OverlapArea(const ScreenRect& a, const ScreenRect& b) {
    const int64_t width = std::max(0, std::min(a.right, b.right) - std::max(a.left, b.left));
    const int64_t height = std::max(0, std::min(a.bottom, b.bottom) - std::max(a.top, b.top));
    return width * height;
}

// How far apart two rectangles are (0 when they touch or overlap), squared.
int64_t GapSquared(const ScreenRect& a, const ScreenRect& b) {
    const int64_t dx = std::max({0, b.left - a.right, a.left - b.right});
    const int64_t dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

// The start that keeps [start, start + length) inside [low, high), the low end winning when it cannot.
int Clamp(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace

ScreenRect KeepOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
    if (workAreas.empty()) return window;
    const int64_t area = static_cast<int64_t>(std::max(0, window.Width())) * std::max(0, window.Height());
    const ScreenRect* nearest = nullptr;
    int64_t nearestGap = std::numeric_limits<int64_t>::max();
    int64_t largestOverlap = -1;
    for (const ScreenRect& workArea : workAreas) {
        const int64_t overlap = OverlapArea(window, workArea);
        if (4 * overlap >= area) return window;
        const int64_t gap = GapSquared(window, workArea);
        // Among areas equally near (several overlap a little), the one showing most of the window wins.
        if (gap < nearestGap || (gap == nearestGap && overlap > largestOverlap)) {
            nearest = &workArea;
            nearestGap = gap;
            largestOverlap = overlap;
        }
    }
    ScreenRect moved = window;
    moved.left = Clamp(window.left, window.Width(), nearest->left, nearest->right);
    moved.top = Clamp(window.top, window.Height(), nearest->top, nearest->bottom);
    moved.right = moved.left + window.Width();
    moved.bottom = moved.top + window.Height();
    return moved;
}

}  // namespace nimbo
