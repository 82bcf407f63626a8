// The DPI a window is shown at, found with the newest function the running Windows has.
#pragma once

#include <windows.h>

namespace nimbo {

// WM_DPICHANGED (Windows 8.1 on): wParam's high word the new DPI, lParam the suggested window rectangle.
inline constexpr UINT kWmDpiChanged = 0x02E0;

// The window's monitor's DPI (GetDpiForWindow on Windows 10, GetDpiForMonitor on 8.1), else the system's
// (LOGPIXELSY of the screen, which XP to 8 give every program that declares itself aware).
int WindowDpi(HWND window);

}  // namespace nimbo
