// 32-bit DIB sections whose rows run top-down, as the faces' surfaces and the tray's icons hold their pixels.
#pragma once

#include <windows.h>

#include "base/unique_handle_win.h"

namespace nimbo {

// A width × height DIB section of 32-bit pixels, first row on top; `bits` receives its pixel memory.
UniqueBitmap TopDownDib(int width, int height, void** bits);

}  // namespace nimbo
