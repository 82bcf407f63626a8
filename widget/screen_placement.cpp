// Bringing back a window that lies (nearly) off every screen, and one window beside another.
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

ScreenRect MovedTo(const ScreenRect& window, int left, int top) {
    return {left, top, left + window.Width(), top + window.Height()};
}

bool Inside(const ScreenRect& window, const ScreenRect& area) {
    return window.left >= area.left && window.top >= area.top && window.right <= area.right &&
           window.bottom <= area.bottom;
}

// The work area a window belongs to: the nearest, and among those equally near (several overlap it) the one
// showing most of it. None when no work area is known.
const ScreenRect* NearestWorkArea(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
    const ScreenRect* nearest = nullptr;
    int64_t nearestGap = std::numeric_limits<int64_t>::max();
    int64_t largestOverlap = -1;
    for (const ScreenRect& workArea : workAreas) {
        const int64_t overlap = OverlapArea(window, workArea);
        const int64_t gap = GapSquared(window, workArea);
        if (gap < nearestGap || (gap == nearestGap && overlap > largestOverlap)) {
            nearest = &workArea;
            nearestGap = gap;
            largestOverlap = overlap;
        }
    }
    return nearest;
}

}  // namespace

ScreenRect KeepOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
    const ScreenRect* nearest = NearestWorkArea(window, workAreas);
    if (!nearest) return window;
    const int width = window.Width();
    const int height = window.Height();
    // Wholly off every screen (a monitor that is gone): all of it comes back.
    if (OverlapArea(window, *nearest) == 0) {
        return MovedTo(window, Clamp(window.left, width, nearest->left, nearest->right),
                       Clamp(window.top, height, nearest->top, nearest->bottom));
    }
    // Otherwise as little as shows a third each way, the top strip among it; a window larger than the area keeps
    // its top-left corner inside.
    const int lowestLeft = nearest->left - (width - width / 3);
    const int highestLeft = std::max(nearest->left, nearest->right - width / 3);
    const int highestTop = std::max(nearest->top, nearest->bottom - height / 3);
    return MovedTo(window, std::max(lowestLeft, std::min(window.left, highestLeft)),
                   std::max(nearest->top, std::min(window.top, highestTop)));
}

ScreenRect PlaceBeside(const ScreenRect& window, const ScreenRect& anchor, const std::vector<ScreenRect>& workAreas) {
    const ScreenRect* area = NearestWorkArea(anchor, workAreas);
    if (!area || OverlapArea(window, anchor) == 0) return window;
    const int width = window.Width();
    const int height = window.Height();
    const int besideTop = Clamp(anchor.top, height, area->top, area->bottom);
    const int alignedLeft = Clamp(anchor.left, width, area->left, area->right);
    const ScreenRect candidates[] = {
        MovedTo(window, anchor.right, besideTop),           // right
        MovedTo(window, anchor.left - width, besideTop),    // left
        MovedTo(window, alignedLeft, anchor.bottom),        // below
        MovedTo(window, alignedLeft, anchor.top - height),  // above
    };
    for (const ScreenRect& candidate : candidates) {
        if (Inside(candidate, *area)) return candidate;
    }
    return MovedTo(window, Clamp(anchor.right, width, area->left, area->right),
                   Clamp(anchor.top, height, area->top, area->bottom));
}

}  // namespace nimbo
