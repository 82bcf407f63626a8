// Nimbo.exe: refuses old systems, keeps one widget per executable, then runs the main form.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "base/gdiplus_session_win.h"
#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "widget/messages.h"
#include "widget/settings_place_win.h"
#include "widget/single_instance_win.h"
#include "widget/start_up.h"
#include "widget/windows/main_form_win.h"

namespace nimbo {
namespace {

bool RunsOnSupportedSystem() {
    OSVERSIONINFOW version{sizeof(version)};
    if (!GetVersionExW(&version)) return true;
    return IsSupportedSystem(version.dwMajorVersion, version.dwMinorVersion);
}

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return arguments;
}

// How long "-exit" waits for the running widget to answer and end, in all; the installer and the uninstaller wait
// for "-exit" itself a little longer.
constexpr DWORD kExitWaitMs = 15000;

void RunWidget() {
    // The pictures' relative paths start at the executable's folder; the settings file has a full path of its own.
    SetCurrentDirectoryW(Widen(ExecutableFolder(Narrow(OwnModuleFileName()))).c_str());
    const std::unique_ptr<SettingsFile> settings = OpenWidgetSettings();
    ComInitializer com;
    GdiplusSession gdiplus;
    TNimboMainForm form(*settings);
    if (!form.Create()) return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace
}  // namespace nimbo

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace nimbo;
    if (!RunsOnSupportedSystem()) {
        MessageBoxW(nullptr, Widen(kUnsupportedSystemText).c_str(), Widen(kUnsupportedSystemCaption).c_str(),
                    MB_OK | MB_ICONERROR);
        return 0;
    }
    InstanceMutex mutex;
    const HWND running = FindWidgetWindow(Widen(kMainWindowClass), OwnModuleFileName());
    const bool alreadyRunning = IsAlreadyRunning(mutex.CreationError(), running != nullptr);
    // "-exit" only ever closes: with no widget of this file running it starts none, and a widget that does not
    // answer makes it end with 1 instead of waiting for ever.
    if (HasExitSwitch(CommandLineArguments()))
        return !alreadyRunning || CloseWidgetWindow(running, kExitWaitMs) ? 0 : 1;
    if (alreadyRunning) {
        PostMessageW(running, WM_WIDGET_SHOW, 0, 0);
        SetForegroundWindow(running);
    } else {
        RunWidget();
    }
    return 0;
}
