// Mutex and window search of the single-instance rule.
#include "widget/single_instance_win.h"

#include <psapi.h>

#include "base/wide_text_win.h"
#include "widget/messages.h"
#include "widget/start_up.h"

namespace nimbo {

InstanceMutex::InstanceMutex()
    : m_mutex(CreateMutexW(nullptr, FALSE, Widen(kWidgetMutexName).c_str())), m_creationError(GetLastError()) {}

std::wstring OwnModuleFileName() {
    wchar_t name[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, name, MAX_PATH);
    return std::wstring(name, length);
}

std::wstring WindowModuleFileName(HWND window) {
    // The window's instance handle only names a module inside its own process, so ask that process.
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return L"";
    wchar_t name[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameExW(process.Get(), nullptr, name, MAX_PATH);
    return std::wstring(name, length);
}

namespace {

struct WindowSearch {
    const std::wstring& className;
    const std::wstring& moduleFileName;
    HWND found = nullptr;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    wchar_t className[MAX_PATH] = {};
    const int length = GetClassNameW(window, className, MAX_PATH);
    if (std::wstring_view(className, length) != search.className) return TRUE;
    if (WindowModuleFileName(window) != search.moduleFileName) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND FindWidgetWindow(const std::wstring& className, const std::wstring& moduleFileName) {
    WindowSearch search{className, moduleFileName};
    EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool CloseWidgetWindow(HWND window, DWORD timeoutMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    const DWORD start = GetTickCount();
    DWORD_PTR reply = 0;
    if (!process ||
        !SendMessageTimeoutW(window, WM_WIDGET_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &reply)) {
        return false;
    }
    const DWORD spent = GetTickCount() - start;
    return spent < timeoutMs && WaitForSingleObject(process.Get(), timeoutMs - spent) == WAIT_OBJECT_0;
}

}  // namespace nimbo
