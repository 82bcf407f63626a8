// nimbo_hung_widget.exe: a widget that has stopped answering, for the uninstaller's end-to-end test. It holds the
// widget's mutex and a window of its main class, and its only thread sleeps instead of reading messages.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, L"globalUniqueMutexHandle_nimbo160");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TNimboMainForm";
    RegisterClassW(&windowClass);
    CreateWindowExW(WS_EX_TOOLWINDOW, L"TNimboMainForm", L"Nimbo!", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                    nullptr);
    Sleep(INFINITE);
    CloseHandle(mutex);
    return 0;
}
