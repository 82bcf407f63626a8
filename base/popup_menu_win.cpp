// The popup-menu sequence shared by the widget's menu and the tray icon's menu.
#include "base/popup_menu_win.h"

namespace nimbo {

namespace {

// Gives the pending messages one round, so that a foreground switch has happened before the menu opens.
void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

void ShowPopupMenu(HWND owner, HMENU menu, POINT screen) {
    // The menu closes on a click elsewhere only while its window is in front.
    SetForegroundWindow(owner);
    ProcessPendingMessages();
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, owner, nullptr);
    // Without a task switch right after, the menu opened next time closes at once.
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace nimbo
