// nimbo_hung_widget.exe [oldest]: a widget that has stopped answering, for the uninstaller's end-to-end test. It
// holds the widget's mutex and a window of its main class (those of the oldest generation with "oldest"), and its
// only thread sleeps instead of reading messages.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const bool oldest = __argc > 1 && std::wstring(__wargv[1]) == L"oldest";
    const HANDLE mutex =
        CreateMutexW(nullptr, FALSE, oldest ? L"globalUniqueMutexHandle" : L"globalUniqueMutexHandle_nimbo160");
    const wchar_t* className = oldest ? L"TMainForm" : L"TNimboMainForm";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    CreateWindowExW(WS_EX_TOOLWINDOW, className, L"Nimbo!", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                    nullptr);
    Sleep(INFINITE);
    CloseHandle(mutex);
    return 0;
}
