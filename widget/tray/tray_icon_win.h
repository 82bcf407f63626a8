// The tray icon on Windows: its hidden window, Shell_NotifyIconW, icon handles and the popup menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <memory>
#include <string>

#include "base/unique_handle_win.h"
#include "base/window_win.h"
#include "widget/tray/tray_icon.h"

namespace nimbo {

// NOTIFYICONDATAW as Windows XP knows it, ending with guidItem. Every later system accepts this size and no
// later field is used; computed here because sizeof grows with the headers' target version (hBalloonIcon).
inline constexpr DWORD kNotifyIconDataSize = offsetof(NOTIFYICONDATAW, guidItem) + sizeof(GUID);

// The shell's record for the portable one.
NOTIFYICONDATAW ToNotifyIconData(const TrayNotifyData& data);

// Shell_NotifyIconW, one command per call.
class ShellNotifyIconWin final : public TrayShell {
public:
    bool Add(const TrayNotifyData& data) override;
    bool Modify(const TrayNotifyData& data) override;
    bool Delete(const TrayNotifyData& data) override;
};

// An icon the component may show. An owned handle is destroyed with the last reference; a shared one (from
// LoadIcon or LoadImage with LR_SHARED) belongs to the system and never is.
TrayIconRef OwnedTrayIcon(UniqueIcon icon);
TrayIconRef SharedTrayIcon(HICON icon);

// The hidden window: it receives the shell's notifications, the "TaskbarCreated" broadcast, the session's
// end and the animation timer, and hands them to the component. It also answers the component's questions
// about the system.
class TrayWindowWin final : public Window, public TrayHost {
public:
    TrayWindowWin(std::string applicationTitle, TrayIconRef applicationIcon);

    // False when the system refused the window.
    bool Create();
    // Messages go to `target` from now on; with nullptr they get the default processing only.
    void SetTarget(TCustomTrayIcon* target) { m_target = target; }

    uintptr_t HiddenWindow() const override { return reinterpret_cast<uintptr_t>(Handle()); }
    uint32_t TaskbarCreatedMessage() const override { return m_taskbarCreated; }
    void SetAnimationTimer(uint32_t intervalMs) override;
    TrayPointer Pointer() const override;
    std::string ApplicationTitle() const override { return m_applicationTitle; }
    TrayIconRef ApplicationIcon() const override { return m_applicationIcon; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    std::string m_applicationTitle;
    TrayIconRef m_applicationIcon;
    UINT m_taskbarCreated;
    TCustomTrayIcon* m_target = nullptr;
};

// The tray icon as the program owns it: hidden window, shell and component, made and freed in the right
// order (the component's last NIM_DELETE still needs its window). Use it through -> like the component:
//     TrayIconWin tray("Nimbo!", LoadIconW(instance, MAKEINTRESOURCEW(1)));
//     tray->SetHint("Nimbo!");
//     tray->OnDblClick = [this] { ShowActionExecute(); };
//     tray->PopupMenu = &trayPopup;  // a TrayPopupMenuWin that outlives the icon
//     tray->SetVisible(true);
class TrayIconWin {
public:
    // `applicationIcon` is shared (LoadIcon): shown when no icon of its own is set, never destroyed here.
    TrayIconWin(std::string applicationTitle, HICON applicationIcon);
    ~TrayIconWin();
    TrayIconWin(const TrayIconWin&) = delete;
    TrayIconWin& operator=(const TrayIconWin&) = delete;

    TTrayIcon* operator->() { return m_icon.get(); }
    TTrayIcon& operator*() { return *m_icon; }
    HWND HiddenWindow() const { return m_window.Handle(); }

private:
    TrayWindowWin m_window;
    ShellNotifyIconWin m_shell;
    std::unique_ptr<TTrayIcon> m_icon;
};

// The tray icon's popup menu. It owns its HMENU (the controller fills it and may change it through Menu());
// a chosen item is sent as WM_COMMAND, and opening it as WM_INITMENUPOPUP, to `commandWindow`, the same
// window the controller's other menus and buttons talk to.
class TrayPopupMenuWin final : public TrayPopupMenu {
public:
    TrayPopupMenuWin(UniqueMenu menu, HWND commandWindow);

    HMENU Menu() const { return m_menu.Get(); }
    void Popup(int x, int y) override;

private:
    UniqueMenu m_menu;
    HWND m_commandWindow;
};

}  // namespace nimbo
