// The notification-area icon component: picture, tooltip, balloon, animation, mouse events and popup menu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo {

// The shell's record flags, commands' callback and notifications, with the shell's own values.
inline constexpr uint32_t kNifMessage = 0x01;
inline constexpr uint32_t kNifIcon = 0x02;
inline constexpr uint32_t kNifTip = 0x04;
inline constexpr uint32_t kNifInfo = 0x10;
inline constexpr uint32_t kTrayCallbackMessage = 0x400 + 1;  // WM_USER + 1
inline constexpr uint32_t kNinBalloonShow = 0x400 + 2;
inline constexpr uint32_t kNinBalloonHide = 0x400 + 3;
inline constexpr uint32_t kNinBalloonTimeout = 0x400 + 4;
inline constexpr uint32_t kNinBalloonUserClick = 0x400 + 5;

// Window messages the hidden window answers besides the callback.
inline constexpr uint32_t kWmQueryEndSession = 0x11;
inline constexpr uint32_t kWmEndSession = 0x16;
inline constexpr uint32_t kWmTimer = 0x113;
inline constexpr uintptr_t kAnimationTimerId = 1;

// Room in the shell's record, in UTF-16 units without the terminating zero.
inline constexpr size_t kTipLength = 127;
inline constexpr size_t kBalloonTextLength = 255;
inline constexpr size_t kBalloonTitleLength = 63;

inline constexpr uint32_t kDefaultBalloonTimeout = 3000;
inline constexpr uint32_t kDefaultAnimateInterval = 1000;

// The balloon's icon kind; the values are the shell's NIIF_NONE to NIIF_ERROR and go into the record unchanged.
enum class TBalloonFlags : uint32_t { bfNone = 0, bfInfo = 1, bfWarning = 2, bfError = 3 };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Modifier keys and mouse buttons held during a mouse event, as a set of bits.
using TShiftState = uint32_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;

// The longest prefix of `utf8` whose UTF-16 form fits in `maxUnits` units. It never splits a character (so
// never a surrogate pair), and invalid input comes back as valid UTF-8 with U+FFFD in place of each bad byte,
// which is what the shell would have shown for it anyway.
std::string CutToUtf16Length(std::string_view utf8, size_t maxUnits);

// The one record passed to every shell call: NOTIFYICONDATA's fields in portable form. Texts are UTF-8 and
// already cut so that their UTF-16 form fits the record's arrays.
struct TrayNotifyData {
    uintptr_t window = 0;  // hWnd: the hidden window
    uint32_t id = 0;       // uID
    uint32_t flags = 0;    // uFlags
    uint32_t callbackMessage = 0;
    uintptr_t icon = 0;  // hIcon; 0 when there is no picture
    std::string tip;
    std::string info;
    uint32_t timeout = 0;  // uTimeout, milliseconds
    std::string infoTitle;
    uint32_t infoFlags = 0;  // dwInfoFlags
};

// One call per Shell_NotifyIcon command; each returns whether the shell accepted it.
class TrayShell {
public:
    virtual ~TrayShell() = default;
    virtual bool Add(const TrayNotifyData& data) = 0;
    virtual bool Modify(const TrayNotifyData& data) = 0;
    virtual bool Delete(const TrayNotifyData& data) = 0;
};

// An icon picture owned by the platform. Pictures are never changed once made, so "copying" an icon is
// sharing the reference; the platform frees the picture with its last reference.
class TrayIconImage {
public:
    virtual ~TrayIconImage() = default;
    virtual uintptr_t Handle() const = 0;
};
using TrayIconRef = std::shared_ptr<const TrayIconImage>;

// Animation frames, indexed from 0. The component does not own its list.
class TrayIconList {
public:
    virtual ~TrayIconList() = default;
    virtual int Count() const = 0;
    virtual TrayIconRef Icon(int index) const = 0;
};

// The ordinary frame list: pictures in the order given.
class TrayIconFrames final : public TrayIconList {
public:
    explicit TrayIconFrames(std::vector<TrayIconRef> frames) : m_frames(std::move(frames)) {}
    int Count() const override { return static_cast<int>(m_frames.size()); }
    TrayIconRef Icon(int index) const override { return m_frames.at(static_cast<size_t>(index)); }

private:
    std::vector<TrayIconRef> m_frames;
};

// The menu opened when the right button is released over the icon. The controller owns it; on Windows it is
// TrayPopupMenuWin (tray_icon_win.h), which owns an HMENU and sends its commands as WM_COMMAND to the
// controller's window. Popup returns after the menu has closed.
class TrayPopupMenu {
public:
    virtual ~TrayPopupMenu() = default;
    virtual void Popup(int x, int y) = 0;
};

// Modifier keys and the cursor's screen position at the moment a notification is handled.
struct TrayPointer {
    TShiftState shift = 0;
    int x = 0;
    int y = 0;
};

// What the component needs from the system besides the shell.
class TrayHost {
public:
    virtual ~TrayHost() = default;
    // The hidden window that receives the shell's notifications; its messages go to HandleTrayMessage.
    virtual uintptr_t HiddenWindow() const = 0;
    // The registered "TaskbarCreated" message the shell broadcasts when it starts again; 0 when unknown.
    virtual uint32_t TaskbarCreatedMessage() const = 0;
    // Starts (interval > 0) or stops (0) the WM_TIMER kAnimationTimerId of the hidden window.
    virtual void SetAnimationTimer(uint32_t intervalMs) = 0;
    virtual TrayPointer Pointer() const = 0;
    virtual std::string ApplicationTitle() const = 0;
    // Shown when the component has no picture of its own.
    virtual TrayIconRef ApplicationIcon() const = 0;
};

// All behaviour of the tray icon. Every change goes into the one record that each shell call carries; a call
// that fails (any modify while the icon is hidden) is not repeated, since the next NIM_ADD brings the newest
// record anyway. Everything runs on the user-interface thread. Events carry no sender (a handler captures what
// it needs) and are skipped when unassigned; handlers may change the component but must not destroy it.
class TCustomTrayIcon {
public:
    // Both must outlive the component; `host.HiddenWindow()` must already exist.
    TCustomTrayIcon(TrayShell& shell, TrayHost& host);
    virtual ~TCustomTrayIcon();
    TCustomTrayIcon(const TCustomTrayIcon&) = delete;
    TCustomTrayIcon& operator=(const TCustomTrayIcon&) = delete;

    // The hidden window's procedure: the result for the messages it answers, nothing for the others, which
    // the window then hands to the default processing.
    virtual std::optional<intptr_t> HandleTrayMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // One animation step: OnAnimate, then the next frame (back to the first after the last).
    virtual void AdvanceFrame();
    // Asks the shell for the balloon with the current title, text, kind and time-out. The request lasts until
    // the shell reports the balloon hidden, timed out or clicked, and every modify call meanwhile repeats it.
    virtual void ShowBalloon();

    const TrayNotifyData& NotifyData() const { return m_notifyData; }
    const TrayIconRef& CurrentIcon() const { return m_currentIcon; }

protected:
    bool Animate() const { return m_animate; }
    void SetAnimate(bool animate);
    uint32_t AnimateInterval() const { return m_animateInterval; }
    void SetAnimateInterval(uint32_t intervalMs);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint);
    const std::string& BalloonHint() const { return m_balloonHint; }
    void SetBalloonHint(const std::string& text);
    const std::string& BalloonTitle() const { return m_balloonTitle; }
    void SetBalloonTitle(const std::string& title);
    uint32_t BalloonTimeout() const { return m_notifyData.timeout; }
    void SetBalloonTimeout(uint32_t timeoutMs) { m_notifyData.timeout = timeoutMs; }
    const TrayIconRef& Icon() const { return m_icon; }
    void SetIcon(TrayIconRef icon);
    const TrayIconList* Icons() const { return m_icons; }
    void SetIcons(const TrayIconList* icons);
    int IconIndex() const { return m_iconIndex; }
    virtual void SetIconIndex(int index);
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible);

    TBalloonFlags BalloonFlags = TBalloonFlags::bfNone;
    TrayPopupMenu* PopupMenu = nullptr;  // not owned

    std::function<void(TShiftState, int x, int y)> OnMouseMove;
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseUp;
    std::function<void()> OnAnimate;
    std::function<void()> OnBalloonShow;
    std::function<void()> OnBalloonHide;
    std::function<void()> OnBalloonTimeout;
    std::function<void()> OnBalloonClick;

private:
    enum class Command { Add, Modify, Delete };

    void HandleCallback(intptr_t notification);
    void MouseDown(TMouseButton button, TShiftState buttonState);
    void MouseUp(TMouseButton button, TShiftState buttonState);
    void EndBalloon(const std::function<void()>& event);
    bool NotifyShell(Command command);
    void RefreshIcon();
    void LoadStaticIcon();
    void ApplyStaticIcon();
    void SetTimerEnabled(bool enabled);
    void UpdateTimer();

    TrayShell& m_shell;
    TrayHost& m_host;
    bool m_animate = false;
    TrayNotifyData m_notifyData;
    bool m_clickPending = false;
    TrayIconRef m_currentIcon;
    TrayIconRef m_icon;
    const TrayIconList* m_icons = nullptr;
    bool m_timerEnabled = false;
    uint32_t m_animateInterval = kDefaultAnimateInterval;
    uint32_t m_timerRunning = 0;  // the interval last given to the host, 0 while stopped
    std::string m_hint;
    int m_iconIndex = 0;
    bool m_visible = false;
    std::string m_balloonHint;
    std::string m_balloonTitle;
};

// The tray icon as the program uses it: every property and event of the component, public.
class TTrayIcon final : public TCustomTrayIcon {
public:
    using TCustomTrayIcon::TCustomTrayIcon;

    using TCustomTrayIcon::Animate;
    using TCustomTrayIcon::AnimateInterval;
    using TCustomTrayIcon::BalloonHint;
    using TCustomTrayIcon::BalloonTimeout;
    using TCustomTrayIcon::BalloonTitle;
    using TCustomTrayIcon::Hint;
    using TCustomTrayIcon::Icon;
    using TCustomTrayIcon::IconIndex;
    using TCustomTrayIcon::Icons;
    using TCustomTrayIcon::SetAnimate;
    using TCustomTrayIcon::SetAnimateInterval;
    using TCustomTrayIcon::SetBalloonHint;
    using TCustomTrayIcon::SetBalloonTimeout;
    using TCustomTrayIcon::SetBalloonTitle;
    using TCustomTrayIcon::SetHint;
    using TCustomTrayIcon::SetIcon;
    using TCustomTrayIcon::SetIconIndex;
    using TCustomTrayIcon::SetIcons;
    using TCustomTrayIcon::SetVisible;
    using TCustomTrayIcon::Visible;

    using TCustomTrayIcon::BalloonFlags;
    using TCustomTrayIcon::PopupMenu;

    using TCustomTrayIcon::OnAnimate;
    using TCustomTrayIcon::OnBalloonClick;
    using TCustomTrayIcon::OnBalloonHide;
    using TCustomTrayIcon::OnBalloonShow;
    using TCustomTrayIcon::OnBalloonTimeout;
    using TCustomTrayIcon::OnClick;
    using TCustomTrayIcon::OnDblClick;
    using TCustomTrayIcon::OnMouseDown;
    using TCustomTrayIcon::OnMouseMove;
    using TCustomTrayIcon::OnMouseUp;
};

}  // namespace nimbo
