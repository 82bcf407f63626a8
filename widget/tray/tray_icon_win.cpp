// The tray icon's Windows side: the hidden window, the shell record and calls, icons and the popup menu.
#include "widget/tray/tray_icon_win.h"

#include "base/popup_menu_win.h"
#include "base/system_library_win.h"
#include "base/wide_text_win.h"

namespace nimbo {

namespace {

constexpr wchar_t kTrayWindowClass[] = L"NimboTrayIconWindow";

// Copies as much of the text as fits before the terminating zero, never half a surrogate pair. The portable
// record already fits; this only guards the array.
template <size_t N>
void CopyText(wchar_t (&target)[N], const std::string& text) {
    const std::wstring wide = Widen(text);
    size_t length = wide.size() < N - 1 ? wide.size() : N - 1;
    if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
    wide.copy(target, length);
    target[length] = L'\0';
}

class IconImage final : public TrayIconImage {
public:
    IconImage(HICON shared, UniqueIcon owned) : m_shared(shared), m_owned(std::move(owned)) {}
    uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(m_owned ? m_owned.Get() : m_shared); }

private:
    HICON m_shared;
    UniqueIcon m_owned;
};

// An elevated process hears no broadcast from the ordinary shell unless it lets the message through. The
// functions exist from Vista (process-wide) and Windows 7 (per window); XP has neither and needs neither.
void AllowFromOrdinaryProcesses(HWND window, UINT message) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    typedef BOOL WINAPI PerWindow(HWND, UINT, DWORD, void*);
    typedef BOOL WINAPI PerProcess(UINT, DWORD);
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW and MSGFLT_ADD
    if (const auto perWindow = SystemLibrary::FindIn<PerWindow>(user32, "ChangeWindowMessageFilterEx")) {
        perWindow(window, message, kAllow, nullptr);
    } else if (const auto perProcess = SystemLibrary::FindIn<PerProcess>(user32, "ChangeWindowMessageFilter")) {
        perProcess(message, kAllow);
    }
}

}  // namespace

NOTIFYICONDATAW ToNotifyIconData(const TrayNotifyData& data) {
    NOTIFYICONDATAW record{};
    record.cbSize = kNotifyIconDataSize;
    record.hWnd = reinterpret_cast<HWND>(data.window);
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    record.hIcon = reinterpret_cast<HICON>(data.icon);
    CopyText(record.szTip, data.tip);
    CopyText(record.szInfo, data.info);
    record.uTimeout = data.timeout;
    CopyText(record.szInfoTitle, data.infoTitle);
    record.dwInfoFlags = data.infoFlags;
    return record;
}

bool ShellNotifyIconWin::Add(const TrayNotifyData& data) {
    NOTIFYICONDATAW record = ToNotifyIconData(data);
    return Shell_NotifyIconW(NIM_ADD, &record) != FALSE;
}

bool ShellNotifyIconWin::Modify(const TrayNotifyData& data) {
    NOTIFYICONDATAW record = ToNotifyIconData(data);
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

bool ShellNotifyIconWin::Delete(const TrayNotifyData& data) {
    NOTIFYICONDATAW record = ToNotifyIconData(data);
    return Shell_NotifyIconW(NIM_DELETE, &record) != FALSE;
}

TrayIconRef OwnedTrayIcon(UniqueIcon icon) {
    if (!icon) return nullptr;
    return std::make_shared<IconImage>(nullptr, std::move(icon));
}

TrayIconRef SharedTrayIcon(HICON icon) {
    if (!icon) return nullptr;
    return std::make_shared<IconImage>(icon, UniqueIcon());
}

TrayWindowWin::TrayWindowWin(std::string applicationTitle, TrayIconRef applicationIcon)
    : nimbo::Window(applicationTitle),
      m_applicationTitle(std::move(applicationTitle)),
      m_applicationIcon(std::move(applicationIcon)),
      m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {}

bool TrayWindowWin::Create() {
    // A hidden top-level window rather than a message-only one: only top-level windows hear broadcasts such
    // as "TaskbarCreated" and the session's end.
    WindowCreation creation;
    creation.className = kTrayWindowClass;
    creation.exStyle = WS_EX_TOOLWINDOW;
    if (!nimbo::Window::Create(creation)) return false;
    if (m_taskbarCreated != 0) AllowFromOrdinaryProcesses(Handle(), m_taskbarCreated);
    return true;
}

void TrayWindowWin::SetAnimationTimer(uint32_t intervalMs) {
    if (!Handle()) return;
    if (intervalMs > 0) {
        SetTimer(Handle(), kAnimationTimerId, intervalMs, nullptr);
    } else {
        KillTimer(Handle(), kAnimationTimerId);
    }
}

TrayPointer TrayWindowWin::Pointer() const {
    TrayPointer pointer;
    if (GetKeyState(VK_SHIFT) < 0) pointer.shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) pointer.shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) pointer.shift |= ssAlt;
    POINT cursor{};
    if (GetCursorPos(&cursor)) {
        pointer.x = cursor.x;
        pointer.y = cursor.y;
    }
    return pointer;
}

LRESULT TrayWindowWin::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The window lives exactly as long as its component; a stray WM_CLOSE (a task manager closing the
    // process's windows one by one) must not leave the icon with a dead window.
    if (message == WM_CLOSE) return 0;
    if (m_target) {
        if (const std::optional<intptr_t> result = m_target->HandleTrayMessage(message, wParam, lParam)) {
            return *result;
        }
    }
    return Default(message, wParam, lParam);
}

TrayIconWin::TrayIconWin(std::string applicationTitle, HICON applicationIcon)
    : m_window(std::move(applicationTitle), SharedTrayIcon(applicationIcon)) {
    // Without a window the shell calls fail quietly, like any other refused shell call.
    m_window.Create();
    m_icon = std::make_unique<TTrayIcon>(m_shell, m_window);
    m_window.SetTarget(m_icon.get());
}

TrayIconWin::~TrayIconWin() {
    m_window.SetTarget(nullptr);
    m_icon.reset();
}

TrayPopupMenuWin::TrayPopupMenuWin(UniqueMenu menu, HWND commandWindow)
    : m_menu(std::move(menu)), m_commandWindow(commandWindow) {}

void TrayPopupMenuWin::Popup(int x, int y) { ShowPopupMenu(m_commandWindow, m_menu.Get(), {x, y}); }

}  // namespace nimbo
