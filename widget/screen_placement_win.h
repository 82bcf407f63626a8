// Brings a floating window back onto the monitors when it hardly shows on any of them.
#pragma once

#include <windows.h>

#include <vector>

#include "widget/screen_placement.h"

namespace nimbo {

// The work areas of every monitor attached now.
std::vector<ScreenRect> MonitorWorkAreas();

// Moves `window` (without resizing, activating or changing its z-order) by the rule of KeepOnScreen; for the
// start and for WM_DISPLAYCHANGE, never while the user drags. True when it moved.
bool KeepWindowOnScreen(HWND window);

}  // namespace nimbo
