// nimbo_driver.exe: the end-to-end tests' hands inside Wine. Finds windows, posts and sends messages,
// moves windows and reads what a user would see, printing one "key=value" line per fact.
//
//   wait-window CLASS [TITLE] TIMEOUT_MS    wait until such a visible or hidden top-level window exists
//   wait-gone CLASS TIMEOUT_MS              wait until no such window exists
//   count CLASS                             number of top-level windows of the class
//   info CLASS [TITLE]                      hwnd, rect, visibility, styles, layered alpha, process id
//   post CLASS MESSAGE [WPARAM LPARAM]      PostMessage to the first such window
//   send CLASS MESSAGE [WPARAM LPARAM]      SendMessage, printing the result
//   move CLASS X Y                          move the window without sizing or activating it
//   dialog-text TITLE                       texts of the controls of the dialog box with that title
//   dialog-press TITLE BUTTON_ID            press a button of that dialog box
//   cursor                                  the mouse position as Windows knows it: x=, y=
//   list-box TITLE ID                       lines of list box ID inside the top-level dialog TITLE: count=, line=...
//   freeze TITLE ID MIN_LINES TIMEOUT_MS    once list box ID of dialog TITLE holds MIN_LINES lines (or the time has
//                                           run out), suspends the threads of its process that own no window: the
//                                           window stays live for screenshots while its worker stops; frozen=N
//   thaw TITLE                              resumes those threads again
//   tray                                    icons of Wine's stand-alone tray: icons=N, then tip=TEXT per icon
//                                           and balloon=TEXT per balloon shown (CR and LF as \r and \n)
// Exit code 0 on success, 1 when the window was not found or the wait ran out, 2 on bad arguments.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/wide_text_win.h"

namespace {

using nimbo::Narrow;

struct Search {
    std::wstring className;
    std::wstring title;  // empty: any
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    if (search.className != name) return TRUE;
    if (!search.title.empty()) {
        wchar_t title[512] = {};
        GetWindowTextW(window, title, 512);
        if (search.title != title) return TRUE;
    }
    search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> FindAll(const std::wstring& className, const std::wstring& title = L"") {
    Search search{className, title, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindFirst(const std::wstring& className, const std::wstring& title = L"") {
    const auto all = FindAll(className, title);
    return all.empty() ? nullptr : all.front();
}

// Polls a condition until it holds or the deadline passes.
template <typename Condition>
bool WaitFor(DWORD timeoutMs, Condition condition) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
}

unsigned long Number(const std::wstring& text) { return std::wcstoul(text.c_str(), nullptr, 0); }

void PrintInfo(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    BYTE alpha = 255;
    DWORD flags = 0;
    COLORREF key = 0;
    const bool hasLayeredAttributes = GetLayeredWindowAttributes(window, &key, &alpha, &flags) != FALSE;
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    std::printf(
        "hwnd=%llu\nleft=%ld\ntop=%ld\nwidth=%ld\nheight=%ld\nvisible=%d\nstyle=0x%08lx\nexstyle=0x%08lx\n"
        "owner=%llu\npid=%lu\nlayered_attributes=%d\ntitle=%s\n",
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, IsWindowVisible(window) ? 1 : 0,
        static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
        static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER))), processId,
        hasLayeredAttributes ? 1 : 0, Narrow(title).c_str());
}

BOOL CALLBACK PrintChildText(HWND child, LPARAM) {
    wchar_t text[2048] = {};
    GetWindowTextW(child, text, 2048);
    if (text[0]) std::printf("text=%s\n", Narrow(text).c_str());
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    wchar_t name[256] = {};
    GetClassNameW(child, name, 256);
    if (search.className == name) search.found.push_back(child);
    return TRUE;
}

// The tooltip text of one tray icon. Wine's tray keeps it in a tooltip window of the tray's own process,
// so the request and its answer travel through memory lent in that process.
std::wstring TrayIconTip(HWND icon, const std::vector<HWND>& tooltips) {
    DWORD processId = 0;
    GetWindowThreadProcessId(icon, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return L"";
    constexpr size_t kChars = 1024;
    const size_t size = sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t);
    auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    std::wstring tip;
    if (remote) {
        for (HWND tooltip : tooltips) {
            TTTOOLINFOW info{};
            info.cbSize = sizeof(info);
            info.uFlags = TTF_IDISHWND;
            info.hwnd = icon;
            info.uId = reinterpret_cast<UINT_PTR>(icon);
            info.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof(info));
            const wchar_t nothing[1] = {};
            WriteProcessMemory(process, remote, &info, sizeof(info), nullptr);
            WriteProcessMemory(process, remote + sizeof(info), nothing, sizeof(nothing), nullptr);
            SendMessageW(tooltip, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(remote));
            std::vector<wchar_t> text(kChars + 1, L'\0');
            ReadProcessMemory(process, remote + sizeof(info), text.data(), kChars * sizeof(wchar_t), nullptr);
            tip = text.data();
            if (!tip.empty()) break;
        }
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return tip;
}

// One output line for a text that may hold line breaks.
std::string OneLine(const std::wstring& text) {
    std::string line;
    for (char c : Narrow(text)) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return line;
}

int PrintTray() {
    const HWND tray = FindFirst(L"__winex11_standalone_tray");
    Search icons{L"__winex11_tray_icon", L"", {}};
    if (tray) EnumChildWindows(tray, &CollectChild, reinterpret_cast<LPARAM>(&icons));
    std::printf("icons=%zu\n", icons.found.size());
    // The hint and the balloon are both tooltips of the icon's window; the balloon's has the balloon style.
    std::vector<HWND> tips;
    std::vector<HWND> balloons;
    for (HWND tooltip : FindAll(TOOLTIPS_CLASSW)) {
        (GetWindowLongW(tooltip, GWL_STYLE) & TTS_BALLOON ? balloons : tips).push_back(tooltip);
    }
    for (HWND icon : icons.found) std::printf("tip=%s\n", Narrow(TrayIconTip(icon, tips)).c_str());
    for (HWND icon : icons.found) {
        const std::wstring balloon = TrayIconTip(icon, balloons);
        if (!balloon.empty()) std::printf("balloon=%s\n", OneLine(balloon).c_str());
    }
    return 0;
}

BOOL CALLBACK FindChildById(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<std::pair<int, HWND>*>(context);
    if (GetDlgCtrlID(child) != search.first) return TRUE;
    search.second = child;
    return FALSE;
}

// A control anywhere below a top-level dialog (a property sheet holds it in a page).
HWND FindDialogControl(const std::wstring& title, int id) {
    const HWND dialog = FindFirst(L"#32770", title);
    if (!dialog) return nullptr;
    std::pair<int, HWND> search{id, nullptr};
    EnumChildWindows(dialog, &FindChildById, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

BOOL CALLBACK AnyWindow(HWND, LPARAM context) {
    *reinterpret_cast<bool*>(context) = true;
    return FALSE;
}

// Suspends or resumes the threads of the process of `window` that own no window.
int SetWorkersRunning(HWND window, bool running) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        bool ownsWindow = false;
        EnumThreadWindows(entry.th32ThreadID, &AnyWindow, reinterpret_cast<LPARAM>(&ownsWindow));
        if (ownsWindow) continue;
        const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        if (running) {
            while (ResumeThread(thread) > 1) {
            }
        } else {
            SuspendThread(thread);
        }
        CloseHandle(thread);
        ++count;
    }
    CloseHandle(snapshot);
    return count;
}

int Run(const std::vector<std::wstring>& args) {
    if (args.empty()) return 2;
    const std::wstring& command = args[0];
    if (command == L"wait-window" && (args.size() == 3 || args.size() == 4)) {
        const std::wstring title = args.size() == 4 ? args[2] : L"";
        HWND found = nullptr;
        const bool ok = WaitFor(Number(args.back()), [&] { return (found = FindFirst(args[1], title)) != nullptr; });
        if (ok) PrintInfo(found);
        return ok ? 0 : 1;
    }
    if (command == L"wait-gone" && args.size() == 3) {
        return WaitFor(Number(args[2]), [&] { return FindFirst(args[1]) == nullptr; }) ? 0 : 1;
    }
    if (command == L"count" && args.size() == 2) {
        std::printf("count=%zu\n", FindAll(args[1]).size());
        return 0;
    }
    if (command == L"info" && (args.size() == 2 || args.size() == 3)) {
        const HWND window = FindFirst(args[1], args.size() == 3 ? args[2] : L"");
        if (!window) return 1;
        PrintInfo(window);
        return 0;
    }
    if ((command == L"post" || command == L"send") && (args.size() == 3 || args.size() == 5)) {
        const HWND window = FindFirst(args[1]);
        if (!window) return 1;
        const UINT message = Number(args[2]);
        const WPARAM wParam = args.size() == 5 ? Number(args[3]) : 0;
        const LPARAM lParam = args.size() == 5 ? static_cast<LPARAM>(Number(args[4])) : 0;
        if (command == L"post") return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
        std::printf("result=%lld\n", static_cast<long long>(SendMessageW(window, message, wParam, lParam)));
        return 0;
    }
    if (command == L"move" && args.size() == 4) {
        const HWND window = FindFirst(args[1]);
        if (!window) return 1;
        const int x = static_cast<int>(std::wcstol(args[2].c_str(), nullptr, 0));
        const int y = static_cast<int>(std::wcstol(args[3].c_str(), nullptr, 0));
        return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (command == L"dialog-text" && args.size() == 2) {
        const HWND dialog = FindFirst(L"#32770", args[1]);
        if (!dialog) return 1;
        EnumChildWindows(dialog, &PrintChildText, 0);
        return 0;
    }
    if (command == L"dialog-press" && args.size() == 3) {
        const HWND dialog = FindFirst(L"#32770", args[1]);
        if (!dialog) return 1;
        return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(Number(args[2]), BN_CLICKED), 0) ? 0 : 1;
    }
    if (command == L"list-box" && args.size() == 3) {
        const HWND list = FindDialogControl(args[1], static_cast<int>(Number(args[2])));
        if (!list) return 1;
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        std::printf("count=%lld\n", static_cast<long long>(count));
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
            std::printf("line=%s\n", Narrow(line.c_str()).c_str());
        }
        return 0;
    }
    if (command == L"freeze" && args.size() == 5) {
        HWND list = nullptr;
        WaitFor(Number(args[4]), [&] {
            list = FindDialogControl(args[1], static_cast<int>(Number(args[2])));
            return list && SendMessageW(list, LB_GETCOUNT, 0, 0) >= static_cast<LRESULT>(Number(args[3]));
        });
        if (!list) return 1;
        std::printf("frozen=%d\n", SetWorkersRunning(list, false));
        return 0;
    }
    if (command == L"thaw" && args.size() == 2) {
        const HWND dialog = FindFirst(L"#32770", args[1]);
        if (!dialog) return 1;
        std::printf("thawed=%d\n", SetWorkersRunning(dialog, true));
        return 0;
    }
    if (command == L"tray" && args.size() == 1) return PrintTray();
    if (command == L"cursor" && args.size() == 1) {
        POINT point{};
        if (!GetCursorPos(&point)) return 1;
        std::printf("x=%ld\ny=%ld\n", point.x, point.y);
        return 0;
    }
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    const int code = Run(args);
    std::fflush(stdout);
    return code;
}
