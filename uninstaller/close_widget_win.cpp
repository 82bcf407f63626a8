// The three generations of the widget, each recognised by its mutex and its main window class.
#include "uninstaller/close_widget_win.h"

#include "base/shared_names.h"
#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "uninstaller/system_win.h"

namespace nimbo::uninstall {
namespace {

constexpr DWORD kPauseAfterAttemptMs = 500;  // lets a widget that was asked to end finish ending

// The reply of a sent message, or nothing when the window did not answer within the time.
bool SendAndAnswered(HWND window, UINT message, DWORD timeoutMs, LRESULT& reply) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result)) return false;
    reply = static_cast<LRESULT>(result);
    return true;
}

// One of the generations that know "-exit"; `result` changes only when that generation runs.
void CloseThroughExitSwitch(const char* mutexName, DWORD timeoutMs, bool& result) {
    if (!ProbeMutex(Widen(mutexName).c_str())) return;
    const HWND window = FindWindowW(Widen(kMainWindowClass).c_str(), nullptr);
    if (!window) return;
    const std::string exePath = ReadRegString(HKEY_LOCAL_MACHINE, kWidgetKey, "");
    if (!exePath.empty() && FileExists(exePath)) {
        result = RunAndWait(exePath, std::string("-") + kExitSwitch, timeoutMs) == 0;
    } else {
        LRESULT reply = -1;
        result = SendAndAnswered(window, WM_WIDGET_CLOSE, timeoutMs, reply) && reply == 0;
    }
    Sleep(kPauseAfterAttemptMs);
}

}  // namespace

bool ProbeMutex(const wchar_t* name) {
    const UniqueKernelHandle mutex(CreateMutexW(nullptr, FALSE, name));
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

bool CloseRunningWidget(DWORD timeoutMs) {
    bool result = false;
    CloseThroughExitSwitch(kWidgetMutexName, timeoutMs, result);
    CloseThroughExitSwitch(kWidget150MutexName, timeoutMs, result);
    if (ProbeMutex(Widen(kFirstWidgetMutexName).c_str())) {
        if (const HWND window = FindWindowW(Widen(kFirstWidgetWindowClass).c_str(), nullptr)) {
            LRESULT reply = -1;
            result = SendAndAnswered(window, WM_CLOSE, timeoutMs, reply) && reply == 0;
            Sleep(kPauseAfterAttemptMs);
        }
    }
    return result;
}

}  // namespace nimbo::uninstall
