// Closing a running widget of any of the three generations before the removal.
#pragma once

#include <windows.h>

namespace nimbo::uninstall {

// How long each request to a widget may take: the "-exit" start and every message sent to a widget window.
inline constexpr DWORD kWidgetAnswerTimeoutMs = 20000;

// True when a mutex of that name already existed; a mutex made by the probe itself is gone again at once.
bool ProbeMutex(const wchar_t* name);

// Asks the widgets that run to end: 1.60 and 1.50 through their executable's "-exit" (or WM_WIDGET_CLOSE when it is
// missing), the oldest through WM_CLOSE. True when the last attempt succeeded. A widget that does not answer within
// `timeoutMs` is left running.
bool CloseRunningWidget(DWORD timeoutMs = kWidgetAnswerTimeoutMs);

}  // namespace nimbo::uninstall
