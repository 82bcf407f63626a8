// The single-instance rule: the named mutex and the search for a widget window of the same executable.
#pragma once

#include <windows.h>

#include <string>

#include "base/unique_handle_win.h"

namespace nimbo {

// Created without initial ownership; kept until the process ends.
class InstanceMutex {
public:
    InstanceMutex();
    // The thread's last error right after the creation: ERROR_ALREADY_EXISTS when another process made it.
    DWORD CreationError() const { return m_creationError; }

private:
    UniqueKernelHandle m_mutex;
    DWORD m_creationError;
};

// The module file name of the running program.
std::wstring OwnModuleFileName();

// The executable that a window's process runs, in the same character form as OwnModuleFileName.
std::wstring WindowModuleFileName(HWND window);

// A top-level window of `className` whose process runs `moduleFileName`; nullptr when there is none.
HWND FindWidgetWindow(const std::wstring& className, const std::wstring& moduleFileName);

// Asks the widget that owns `window` to close (WM_WIDGET_CLOSE, sent) and waits for its process to end, both within
// `timeoutMs` in all: a widget that no longer answers holds nobody up for longer. True when its process ended.
bool CloseWidgetWindow(HWND window, DWORD timeoutMs);

}  // namespace nimbo
