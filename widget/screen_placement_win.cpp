// The monitors' work areas from the system, and the move that KeepOnScreen decides.
#include "widget/screen_placement_win.h"

namespace nimbo {
namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& work = info.rcWork;
        reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back({work.left, work.top, work.right, work.bottom});
    }
    return TRUE;
}

}  // namespace

std::vector<ScreenRect> MonitorWorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

bool KeepWindowOnScreen(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return false;
    const ScreenRect now{rect.left, rect.top, rect.right, rect.bottom};
    const ScreenRect placed = KeepOnScreen(now, MonitorWorkAreas());
    if (placed == now) return false;
    return SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace nimbo
