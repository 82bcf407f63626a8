// Opening a popup menu the way the shell expects of a window that may not be in front.
#pragma once

#include <windows.h>

namespace nimbo {

// Opens `menu` at `screen` for `owner` and returns when it has closed; the chosen item reaches `owner` as
// WM_COMMAND, and the opening of each (sub)menu as WM_INITMENUPOPUP.
void ShowPopupMenu(HWND owner, HMENU menu, POINT screen);

}  // namespace nimbo
