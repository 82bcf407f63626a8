// The widget closed the way "-exit" closes it, without starting the installed Nimbo.exe, whatever its version.
#include "installer/widget_closing_win.h"

#include <vector>

#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "uninstaller/removal_plan.h"
#include "widget/single_instance_win.h"

namespace nimbo::setup {
namespace {

struct WidgetSearch {
    std::string exe;
    std::vector<HWND> found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WidgetSearch*>(context);
    wchar_t className[64] = {};
    const int length = GetClassNameW(window, className, 64);
    if (std::wstring_view(className, static_cast<size_t>(length)) == L"TNimboMainForm" &&
        uninstall::SamePathIgnoringCase(Narrow(WindowModuleFileName(window)), search.exe)) {
        search.found.push_back(window);
    }
    return TRUE;
}

DWORD Remaining(DWORD start, DWORD budgetMs) {
    const DWORD spent = GetTickCount() - start;
    return spent < budgetMs ? budgetMs - spent : 0;
}

}  // namespace

bool CloseWidgetOf(const std::string& widgetExe, DWORD budgetMs) {
    const DWORD start = GetTickCount();
    const DWORD politeMs = budgetMs / 4 * 3;
    WidgetSearch search{widgetExe, {}};
    EnumWindows(&VisitWindow, reinterpret_cast<LPARAM>(&search));
    bool allEnded = true;
    for (const HWND window : search.found) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
        if (CloseWidgetWindow(window, Remaining(start, politeMs))) continue;
        // It does not answer: its files must be replaced all the same, and it could not save anything anyway.
        if (!process || !TerminateProcess(process.Get(), 1) ||
            WaitForSingleObject(process.Get(), Remaining(start, budgetMs)) != WAIT_OBJECT_0) {
            allEnded = false;
        }
    }
    return allEnded;
}

}  // namespace nimbo::setup
