// Per-window DPI through run-time linking, so the XP build imports nothing newer than XP.
#include "widget/windows/window_dpi_win.h"

#include "base/system_library_win.h"
#include "base/unique_handle_win.h"

namespace nimbo {

namespace {

using GetDpiForWindowFunction = UINT WINAPI(HWND);
// MONITOR_DPI_TYPE 0, MDT_EFFECTIVE_DPI: the DPI the user's scale setting gives.
using GetDpiForMonitorFunction = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;

int SystemDpi() {
    WindowDc screen(nullptr);
    return screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
}

}  // namespace

int WindowDpi(HWND window) {
    if (const auto getDpiForWindow =
            SystemLibrary::FindIn<GetDpiForWindowFunction>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    const SystemLibrary shcore(L"shcore.dll");
    if (const auto getDpiForMonitor = shcore.Find<GetDpiForMonitorFunction>("GetDpiForMonitor")) {
        UINT x = 0;
        UINT y = 0;
        if (SUCCEEDED(getDpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) &&
            y > 0) {
            return static_cast<int>(y);
        }
    }
    return SystemDpi();
}

}  // namespace nimbo
