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
//   dialog-click TITLE CONTROL_ID           click a control of that dialog box as a user would (BM_CLICK)
//   dialog-close TITLE                      close that dialog box through its system menu
//   tooltips                                the visible tooltips: tip=TEXT, then its rect as tip_left= ...
//   catch-clicks X Y W H FILE MS            a plain window at that place for MS milliseconds that appends
//                                           "click X Y" to FILE for each left click it receives
//   record FILE ARG...                      appends the arguments as one line to FILE (a URL handler)
//   control TITLE ID                        a control of that dialog (pages included): class=, text=, enabled=,
//                                           visible=, checked=, left=, top=, width=, height= (screen),
//                                           selected= (list, drop-down or tabs), item= each
//   click TITLE ID                          press a button, check box or radio button as a click does (posted)
//   set-text TITLE ID TEXT                  replace a control's text (an edit box tells its dialog)
//   notify TITLE ID CODE                    tell the dialog of a control's notification (a click on a static)
//   titles                                  titles of the visible dialog boxes: title= each
//   select TITLE ID INDEX                   select an entry of a list or drop-down, or a page of a tab control,
//                                           as the user does: the dialog is told
//   folder CSIDL                            a special folder's path: path=
//   delete PATH                             delete a file (exit code 0 also when there was none)
//   link PATH                               a shortcut resolved through IShellLinkW: target=, folder=, icon=
//   cursor                                  the mouse position as Windows knows it: x=, y=
//   set-cursor TITLE ID                     asks control ID's parent, as the mouse over it does, to set the
//                                           cursor (WM_SETCURSOR): handled=1 when it chose one itself
//   list-box TITLE ID                       lines of list box ID inside the top-level dialog TITLE: count=, line=...
//   freeze TITLE ID MIN_LINES TIMEOUT_MS    once list box ID of dialog TITLE holds MIN_LINES lines (or the time has
//                                           run out), suspends the threads of its process that own no window: the
//                                           window stays live for screenshots while its worker stops; frozen=N
//   thaw TITLE                              resumes those threads again
//   tray                                    icons of Wine's stand-alone tray: icons=N, then tip=TEXT per icon,
//                                           then icon_width=, icon_white=, icon_dark=, icon_colour= per icon
//                                           and balloon=TEXT per balloon shown (CR and LF as \r and \n)
//   accessible-name CLASS                   the name a screen reader gets for the window from its default
//                                           accessible object: name= (CR and LF as \r and \n)
//   elevation CLASS                         the token of the process of the first window of CLASS:
//                                           elevation=limited, full or default
//   limited TIMEOUT_MS PROGRAM [ARG...]     runs PROGRAM with the limited half of the driver's own token, as a
//                                           signed-in administrator's programs run with User Account Control on,
//                                           and waits for it: its exit code (1 when it did not start or end)
//   shell-ready TIMEOUT_MS                  the desktop (made by this process when there is none, so with its
//                                           token) and its shell answering as the setup asks it, waited for
// Exit code 0 on success, 1 when the window was not found or the wait ran out, 2 on bad arguments.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/system_library_win.h"
#include "base/unique_handle_win.h"
#include "base/wide_text_win.h"
#include "installer/user_start_win.h"

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
    RECT client{};
    GetClientRect(window, &client);
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
        "owner=%llu\npid=%lu\nlayered_attributes=%d\ntitle=%s\nclient_width=%ld\nclient_height=%ld\n",
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, IsWindowVisible(window) ? 1 : 0,
        static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
        static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
        static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER))), processId,
        hasLayeredAttributes ? 1 : 0, Narrow(title).c_str(), client.right, client.bottom);
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
            // The request lives in the tray's memory: a tooltip of another process (the widget's own hints)
            // would read it at an address that means nothing there.
            DWORD tooltipProcess = 0;
            GetWindowThreadProcessId(tooltip, &tooltipProcess);
            if (tooltipProcess != processId) continue;
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

// What a tray icon's window shows, redrawn first: how many of its pixels are near white, near black, and
// coloured. The temperature's digits are white and dark only; the application's icon has colour.
void PrintTrayIconPixels(HWND icon) {
    RedrawWindow(icon, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect{};
    GetWindowRect(icon, &rect);
    const HDC screen = GetDC(nullptr);
    int white = 0, dark = 0, colour = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            const COLORREF pixel = GetPixel(screen, x, y);
            const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
            const int most = std::max({r, g, b}), least = std::min({r, g, b});
            if (most - least > 60) {
                ++colour;
            } else if (least > 225) {
                ++white;
            } else if (most < 80) {
                ++dark;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    std::printf("icon_width=%ld\nicon_white=%d\nicon_dark=%d\nicon_colour=%d\n", rect.right - rect.left, white, dark,
                colour);
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
    for (HWND icon : icons.found) PrintTrayIconPixels(icon);
    for (HWND icon : icons.found) {
        const std::wstring balloon = TrayIconTip(icon, balloons);
        if (!balloon.empty()) std::printf("balloon=%s\n", OneLine(balloon).c_str());
    }
    return 0;
}

// The visible tooltips' texts and places; a tooltip answers WM_GETTEXT with the tip it shows.
int PrintTooltips() {
    for (HWND tooltip : FindAll(TOOLTIPS_CLASSW)) {
        if (!IsWindowVisible(tooltip)) continue;
        // GetWindowText would give another process's window its caption, not the tip.
        wchar_t text[1024] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(tooltip, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
        RECT rect{};
        GetWindowRect(tooltip, &rect);
        std::printf("tip=%s\ntip_left=%ld\ntip_top=%ld\ntip_width=%ld\ntip_height=%ld\n", OneLine(text).c_str(),
                    rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    return 0;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindControl(HWND child, LPARAM context) {
    auto& search = *reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(child) != search.id) return TRUE;
    search.found = child;
    return FALSE;
}

// A control of the top-level dialog with that title, searched through its pages too.
HWND DialogControl(const std::wstring& title, const std::wstring& id) {
    const HWND dialog = FindFirst(L"#32770", title);
    if (!dialog) return nullptr;
    ControlSearch search{static_cast<int>(std::wcstol(id.c_str(), nullptr, 0)), nullptr};
    EnumChildWindows(dialog, &FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

int PrintControl(HWND control) {
    const std::wstring kind = ClassOf(control);
    // Asked of the control itself: an edit box keeps its text apart from the window's caption.
    wchar_t text[2048] = {};
    SendMessageW(control, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    RECT rect{};
    GetWindowRect(control, &rect);
    std::printf("class=%s\ntext=%s\nenabled=%d\nvisible=%d\nchecked=%d\nleft=%ld\ntop=%ld\nwidth=%ld\nheight=%ld\n",
                Narrow(kind).c_str(), OneLine(text).c_str(), IsWindowEnabled(control) ? 1 : 0,
                IsWindowVisible(control) ? 1 : 0, static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0)), rect.left,
                rect.top, rect.right - rect.left, rect.bottom - rect.top);
    const bool list = lstrcmpiW(kind.c_str(), L"ListBox") == 0;
    const bool combo = lstrcmpiW(kind.c_str(), L"ComboBox") == 0;
    if (lstrcmpiW(kind.c_str(), WC_TABCONTROLW) == 0) {
        std::printf("selected=%d\n", static_cast<int>(SendMessageW(control, TCM_GETCURSEL, 0, 0)));
    }
    if (!list && !combo) return 0;
    std::printf("selected=%d\n", static_cast<int>(SendMessageW(control, list ? LB_GETCURSEL : CB_GETCURSEL, 0, 0)));
    const auto count = static_cast<int>(SendMessageW(control, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t item[1024] = {};
        SendMessageW(control, list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        std::printf("item=%s\n", OneLine(item).c_str());
    }
    return 0;
}

std::wstring g_clickLog;

LRESULT CALLBACK CatcherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &point);
        if (FILE* log = _wfopen(g_clickLog.c_str(), L"a")) {
            std::fprintf(log, "click %ld %ld\n", point.x, point.y);
            std::fclose(log);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window that lies under another one and notes the clicks that reach it.
int CatchClicks(int x, int y, int width, int height, const std::wstring& file, DWORD ms) {
    g_clickLog = file;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CatcherProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"NimboClickCatcher";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, x, y, width,
                                        height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return 1;
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetTimer(window, 1, ms, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == window) break;
        DispatchMessageW(&msg);
    }
    DestroyWindow(window);
    return 0;
}

int SelectEntry(HWND control, int index) {
    const std::wstring kind = ClassOf(control);
    if (lstrcmpiW(kind.c_str(), WC_TABCONTROLW) == 0) {
        // Unlike TCM_SETCURSEL, a new focus tab is announced to the dialog as a click on it is.
        SendMessageW(control, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
        return 0;
    }
    const bool list = lstrcmpiW(kind.c_str(), L"ListBox") == 0;
    SendMessageW(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(control), list ? LBN_SELCHANGE : CBN_SELCHANGE);
    return PostMessageW(GetParent(control), WM_COMMAND, command, reinterpret_cast<LPARAM>(control)) ? 0 : 1;
}

int PrintLink(const std::wstring& path) {
    const nimbo::ComInitializer com;
    nimbo::ComPtr<IShellLinkW> link;
    nimbo::ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.Put()))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Put()))) ||
        FAILED(file->Load(path.c_str(), STGM_READ))) {
        return 1;
    }
    wchar_t target[MAX_PATH] = {};
    wchar_t folder[MAX_PATH] = {};
    wchar_t icon[MAX_PATH] = {};
    int iconIndex = -1;
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &iconIndex);
    std::printf("target=%s\nfolder=%s\nicon=%s,%d\n", Narrow(target).c_str(), Narrow(folder).c_str(),
                Narrow(icon).c_str(), iconIndex);
    return 0;
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

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (const char c : text)
        escaped += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return escaped;
}

// What a screen reader asks: the window's accessible object, then the name of the object itself.
int PrintAccessibleName(const std::wstring& className) {
    const HWND window = FindFirst(className);
    if (!window) return 1;
    const nimbo::ComInitializer com;
    // Loaded as a screen reader's helper loads it; the import library's IID would clash with libuuid's.
    const nimbo::SystemLibrary oleacc(L"oleacc.dll");
    const auto accessibleObjectFromWindow =
        oleacc.Find<decltype(AccessibleObjectFromWindow)>("AccessibleObjectFromWindow");
    nimbo::ComPtr<IAccessible> accessible;
    if (!accessibleObjectFromWindow) return 1;
    if (FAILED(accessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(accessible.Put())))) {
        return 1;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (FAILED(accessible->get_accName(self, &name)) || !name) return 1;
    std::printf("name=%s\n", Escaped(nimbo::Narrow(name)).c_str());
    SysFreeString(name);
    return 0;
}

const char* ElevationOf(HANDLE process) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &opened)) return "unknown";
    const nimbo::UniqueKernelHandle token(opened);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size)) return "unknown";
    return type == TokenElevationTypeLimited ? "limited" : type == TokenElevationTypeFull ? "full" : "default";
}

int RunLimited(DWORD timeoutMs, const std::vector<std::wstring>& program) {
    HANDLE opened = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return 1;
    const nimbo::UniqueKernelHandle token(opened);
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof linked, &size)) return 1;
    const nimbo::UniqueKernelHandle limited(linked.LinkedToken);
    HANDLE primary = nullptr;
    if (!DuplicateTokenEx(limited.Get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &primary)) {
        return 1;
    }
    const nimbo::UniqueKernelHandle primaryToken(primary);
    std::wstring commandLine;
    for (const auto& part : program) commandLine += (commandLine.empty() ? L"\"" : L" \"") + part + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessAsUserW(primaryToken.Get(), nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &started)) {
        return 1;
    }
    CloseHandle(started.hThread);
    const nimbo::UniqueKernelHandle process(started.hProcess);
    DWORD code = 1;
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.Get(), &code)) {
        return 1;
    }
    return static_cast<int>(code);
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
    if (command == L"dialog-click" && args.size() == 3) {
        const HWND dialog = FindFirst(L"#32770", args[1]);
        const HWND control = dialog ? GetDlgItem(dialog, static_cast<int>(Number(args[2]))) : nullptr;
        if (!control) return 1;
        SendMessageW(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (command == L"dialog-close" && args.size() == 2) {
        const HWND dialog = FindFirst(L"#32770", args[1]);
        if (!dialog) return 1;
        return PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    }
    if (command == L"tooltips" && args.size() == 1) return PrintTooltips();
    if (command == L"catch-clicks" && args.size() == 7) {
        auto number = [&](size_t i) { return static_cast<int>(std::wcstol(args[i].c_str(), nullptr, 0)); };
        return CatchClicks(number(1), number(2), number(3), number(4), args[5], Number(args[6]));
    }
    if (command == L"record" && args.size() >= 2) {
        FILE* file = _wfopen(args[1].c_str(), L"a");
        if (!file) return 1;
        std::string line;
        for (size_t i = 2; i < args.size(); ++i) line += (i > 2 ? " " : "") + Narrow(args[i]);
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
        return 0;
    }
    if (command == L"control" && args.size() == 3) {
        const HWND control = DialogControl(args[1], args[2]);
        return control ? PrintControl(control) : 1;
    }
    if (command == L"click" && args.size() == 3) {
        const HWND control = DialogControl(args[1], args[2]);
        return control && PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (command == L"set-text" && args.size() == 4) {
        const HWND control = DialogControl(args[1], args[2]);
        return control && SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[3].c_str())) ? 0 : 1;
    }
    if (command == L"notify" && args.size() == 4) {
        const HWND control = DialogControl(args[1], args[2]);
        const WPARAM notification = MAKEWPARAM(GetDlgCtrlID(control), Number(args[3]));
        return control && PostMessageW(GetParent(control), WM_COMMAND, notification, reinterpret_cast<LPARAM>(control))
                   ? 0
                   : 1;
    }
    if (command == L"titles" && args.size() == 1) {
        for (HWND dialog : FindAll(L"#32770")) {
            wchar_t title[512] = {};
            GetWindowTextW(dialog, title, 512);
            if (IsWindowVisible(dialog)) std::printf("title=%s\n", Narrow(title).c_str());
        }
        return 0;
    }
    if (command == L"select" && args.size() == 4) {
        const HWND control = DialogControl(args[1], args[2]);
        return control ? SelectEntry(control, static_cast<int>(std::wcstol(args[3].c_str(), nullptr, 0))) : 1;
    }
    if (command == L"folder" && args.size() == 2) {
        wchar_t path[MAX_PATH] = {};
        if (!SHGetSpecialFolderPathW(nullptr, path, static_cast<int>(Number(args[1])), FALSE)) return 1;
        std::printf("path=%s\n", Narrow(path).c_str());
        return 0;
    }
    if (command == L"link" && args.size() == 2) return PrintLink(args[1]);
    if (command == L"delete" && args.size() == 2) {
        return DeleteFileW(args[1].c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : 1;
    }
    if (command == L"list-box" && args.size() == 3) {
        const HWND list = DialogControl(args[1], args[2]);
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
            list = DialogControl(args[1], args[2]);
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
    if (command == L"set-cursor" && args.size() == 3) {
        const HWND control = DialogControl(args[1], args[2]);
        if (!control) return 1;
        const LRESULT handled = SendMessageW(GetParent(control), WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        std::printf("handled=%d\n", handled ? 1 : 0);
        return 0;
    }
    if (command == L"accessible-name" && args.size() == 2) return PrintAccessibleName(args[1]);
    if (command == L"elevation" && args.size() == 2) {
        const HWND window = FindFirst(args[1]);
        DWORD processId = 0;
        if (!window || !GetWindowThreadProcessId(window, &processId)) return 1;
        const nimbo::UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
        if (!process) return 1;
        std::printf("elevation=%s\n", ElevationOf(process.Get()));
        return 0;
    }
    if (command == L"limited" && args.size() >= 3) {
        return RunLimited(Number(args[1]), std::vector<std::wstring>(args.begin() + 2, args.end()));
    }
    if (command == L"shell-ready" && args.size() == 2) {
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, GetDesktopWindow(), nullptr, nullptr, nullptr);
        const nimbo::ComInitializer com;
        return WaitFor(Number(args[1]), [] { return static_cast<bool>(nimbo::setup::DesktopShell()); }) ? 0 : 1;
    }
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
