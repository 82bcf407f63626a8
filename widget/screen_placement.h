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

// The window's place at a start, on "Göster" or after a change of monitors: unchanged while its top strip (a third
// of its height) and a third of its width lie on one work area (a window dragged partly past an edge stays where
// the user put it); otherwise moved by the least distance into the nearest work area until they do (its top-left
// corner inside when the window is larger). A window wholly off every work area comes wholly inside the nearest.
// With no work area known, nothing moves.
ScreenRect KeepOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

// Where `window` goes when it covers part of `anchor`: beside it on the right, else on the left, else below, else
// above, wholly inside the work area that shows most of `anchor`; when none fits, inside that area as near as it
// can. A window that covers nothing of `anchor` stays where it is.
ScreenRect PlaceBeside(const ScreenRect& window, const ScreenRect& anchor, const std::vector<ScreenRect>& workAreas);

}  // namespace nimbo
