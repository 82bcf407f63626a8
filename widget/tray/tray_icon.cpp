// The tray icon's rules: which record goes to the shell when, and which events a notification fires.
#include "widget/tray/tray_icon.h"

#include "base/utf.h"

namespace nimbo {

namespace {

// The mouse messages the shell forwards in lParam of the callback (version-0 notifications).
constexpr intptr_t kMouseMove = 0x200;
constexpr intptr_t kLButtonDown = 0x201;
constexpr intptr_t kLButtonUp = 0x202;
constexpr intptr_t kLButtonDblClk = 0x203;
constexpr intptr_t kRButtonDown = 0x204;
constexpr intptr_t kRButtonUp = 0x205;
constexpr intptr_t kRButtonDblClk = 0x206;
constexpr intptr_t kMButtonDown = 0x207;
constexpr intptr_t kMButtonUp = 0x208;
constexpr intptr_t kMButtonDblClk = 0x209;

uintptr_t HandleOf(const TrayIconRef& icon) { return icon ? icon->Handle() : 0; }

void Fire(const std::function<void()>& event) {
    if (event) event();
}

}  // namespace

std::string CutToUtf16Length(std::string_view utf8, size_t maxUnits) {
    std::string out;
    size_t units = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = NextCodePoint(utf8, pos);
        const size_t width = cp >= 0x10000 ? 2 : 1;
        if (units + width > maxUnits) break;
        units += width;
        AppendUtf8(out, cp);
    }
    return out;
}

TCustomTrayIcon::TCustomTrayIcon(TrayShell& shell, TrayHost& host) : m_shell(shell), m_host(host) {
    m_notifyData.window = m_host.HiddenWindow();
    m_notifyData.id = static_cast<uint32_t>(m_notifyData.window);
    m_notifyData.timeout = kDefaultBalloonTimeout;
    m_notifyData.icon = HandleOf(m_currentIcon);
    m_notifyData.flags = kNifMessage | kNifIcon;
    m_notifyData.callbackMessage = kTrayCallbackMessage;
    m_notifyData.tip = CutToUtf16Length(m_host.ApplicationTitle(), kTipLength);
    if (!m_notifyData.tip.empty()) m_notifyData.flags |= kNifTip;
    RefreshIcon();
}

TCustomTrayIcon::~TCustomTrayIcon() {
    NotifyShell(Command::Delete);
    SetTimerEnabled(false);
}

std::optional<intptr_t> TCustomTrayIcon::HandleTrayMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case kWmQueryEndSession:
            return 1;
        case kWmEndSession:
            if (wParam != 0) NotifyShell(Command::Delete);
            return 0;
        case kTrayCallbackMessage:
            HandleCallback(lParam);
            return 0;
        case kWmTimer:
            if (wParam != kAnimationTimerId) return std::nullopt;
            AdvanceFrame();
            return 0;
        default:
            break;
    }
    // A new shell (Explorer restarted after a crash) knows no icons: put ours back, or the user loses it.
    const uint32_t taskbarCreated = m_host.TaskbarCreatedMessage();
    if (taskbarCreated != 0 && message == taskbarCreated) {
        if (m_visible) NotifyShell(Command::Add);
        return 0;
    }
    return std::nullopt;
}

void TCustomTrayIcon::HandleCallback(intptr_t notification) {
    switch (notification) {
        case kMouseMove:
            if (OnMouseMove) {
                const TrayPointer pointer = m_host.Pointer();
                OnMouseMove(pointer.shift, pointer.x, pointer.y);
            }
            break;
        case kLButtonDown:
            MouseDown(TMouseButton::mbLeft, ssLeft);
            m_clickPending = true;
            break;
        case kLButtonUp:
            // Only a release that follows a press on the icon is a click; cleared first so a handler that
            // pumps messages cannot see the same click twice.
            if (m_clickPending && OnClick) {
                m_clickPending = false;
                OnClick();
            }
            MouseUp(TMouseButton::mbLeft, ssLeft);
            break;
        case kLButtonDblClk:
        case kRButtonDblClk:
        case kMButtonDblClk:
            Fire(OnDblClick);
            break;
        case kRButtonDown:
            MouseDown(TMouseButton::mbRight, ssRight);
            break;
        case kRButtonUp: {
            const TrayPointer pointer = m_host.Pointer();
            if (OnMouseUp) OnMouseUp(TMouseButton::mbRight, pointer.shift | ssRight, pointer.x, pointer.y);
            if (PopupMenu) PopupMenu->Popup(pointer.x, pointer.y);
            break;
        }
        case kMButtonDown:
            MouseDown(TMouseButton::mbMiddle, ssMiddle);
            break;
        case kMButtonUp:
            MouseUp(TMouseButton::mbMiddle, ssMiddle);
            break;
        case kNinBalloonShow:
            Fire(OnBalloonShow);
            break;
        case kNinBalloonHide:
            EndBalloon(OnBalloonHide);
            break;
        case kNinBalloonTimeout:
            EndBalloon(OnBalloonTimeout);
            break;
        case kNinBalloonUserClick:
            // Clicking dismisses the balloon and the shell sends nothing else, so this ends the request too;
            // otherwise the next hint change would bring the dismissed balloon back.
            EndBalloon(OnBalloonClick);
            break;
        default:
            break;
    }
}

void TCustomTrayIcon::MouseDown(TMouseButton button, TShiftState buttonState) {
    if (!OnMouseDown) return;
    const TrayPointer pointer = m_host.Pointer();
    OnMouseDown(button, pointer.shift | buttonState, pointer.x, pointer.y);
}

void TCustomTrayIcon::MouseUp(TMouseButton button, TShiftState buttonState) {
    if (!OnMouseUp) return;
    const TrayPointer pointer = m_host.Pointer();
    OnMouseUp(button, pointer.shift | buttonState, pointer.x, pointer.y);
}

void TCustomTrayIcon::EndBalloon(const std::function<void()>& event) {
    m_notifyData.flags &= ~kNifInfo;
    Fire(event);
}

void TCustomTrayIcon::AdvanceFrame() {
    Fire(OnAnimate);
    if (m_icons && m_iconIndex < m_icons->Count() - 1) {
        SetIconIndex(m_iconIndex + 1);
    } else {
        SetIconIndex(0);
    }
    RefreshIcon();
}

// A balloon goes out with one record: the shell shows a record's balloon every time it gets one, so a request
// left in the record would bring the balloon back with each later update, after it timed out or was
// clicked away. While the icon is hidden, the request waits for the add.
void TCustomTrayIcon::ShowBalloon() {
    m_notifyData.flags |= kNifInfo;
    m_notifyData.infoFlags = static_cast<uint32_t>(BalloonFlags);
    NotifyShell(Command::Modify);
    if (m_visible) m_notifyData.flags &= ~kNifInfo;
}

void TCustomTrayIcon::SetAnimate(bool animate) {
    if (animate == m_animate) return;
    m_animate = animate;
    if (!animate) {
        // Stopped whatever the frames, so no OnAnimate arrives once animation is off.
        SetTimerEnabled(false);
    } else if (m_icons && m_icons->Count() > 0 && m_visible) {
        SetTimerEnabled(true);
    }
    // The frame last shown stays as the static picture.
    if (!animate && m_currentIcon) m_icon = m_currentIcon;
}

void TCustomTrayIcon::SetAnimateInterval(uint32_t intervalMs) {
    m_animateInterval = intervalMs;
    UpdateTimer();
}

void TCustomTrayIcon::SetHint(const std::string& hint) {
    if (hint == m_hint) return;
    m_hint = hint;
    m_notifyData.tip = CutToUtf16Length(hint, kTipLength);
    m_notifyData.flags |= kNifTip;
    RefreshIcon();
    // A modify without NIF_TIP leaves the shell's old tooltip up, so the empty text went out once with the
    // flag above; from now on the record carries no tooltip.
    if (hint.empty()) m_notifyData.flags &= ~kNifTip;
}

void TCustomTrayIcon::SetBalloonHint(const std::string& text) {
    if (text == m_balloonHint) return;
    m_balloonHint = text;
    m_notifyData.info = CutToUtf16Length(text, kBalloonTextLength);
    NotifyShell(Command::Modify);
}

void TCustomTrayIcon::SetBalloonTitle(const std::string& title) {
    if (title == m_balloonTitle) return;
    m_balloonTitle = title;
    m_notifyData.infoTitle = CutToUtf16Length(title, kBalloonTitleLength);
    NotifyShell(Command::Modify);
}

void TCustomTrayIcon::SetIcon(TrayIconRef icon) {
    m_icon = icon;
    m_currentIcon = std::move(icon);
    RefreshIcon();
}

void TCustomTrayIcon::SetIcons(const TrayIconList* icons) {
    m_icons = icons;
    if (!icons) ApplyStaticIcon();
}

void TCustomTrayIcon::SetIconIndex(int index) {
    if (index == m_iconIndex) return;
    m_iconIndex = index;
    // An index past the list keeps the picture shown rather than blanking the icon.
    if (m_icons && index >= 0 && index < m_icons->Count()) m_currentIcon = m_icons->Icon(index);
    RefreshIcon();
}

void TCustomTrayIcon::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    if (!m_animate || !m_currentIcon) LoadStaticIcon();
    NotifyShell(visible ? Command::Add : Command::Delete);
    if (visible) m_notifyData.flags &= ~kNifInfo;  // a balloon asked for while hidden went out with the add
    if (m_animate) SetTimerEnabled(visible);
}

bool TCustomTrayIcon::NotifyShell(Command command) {
    switch (command) {
        case Command::Add:
            return m_shell.Add(m_notifyData);
        case Command::Modify:
            return m_shell.Modify(m_notifyData);
        case Command::Delete:
            return m_shell.Delete(m_notifyData);
    }
    return false;
}

void TCustomTrayIcon::RefreshIcon() {
    m_notifyData.icon = HandleOf(m_currentIcon);
    if (m_visible) NotifyShell(Command::Modify);
}

void TCustomTrayIcon::LoadStaticIcon() {
    m_currentIcon = m_icon ? m_icon : m_host.ApplicationIcon();
    m_notifyData.icon = HandleOf(m_currentIcon);
}

void TCustomTrayIcon::ApplyStaticIcon() {
    LoadStaticIcon();
    RefreshIcon();
}

void TCustomTrayIcon::SetTimerEnabled(bool enabled) {
    m_timerEnabled = enabled;
    UpdateTimer();
}

void TCustomTrayIcon::UpdateTimer() {
    const uint32_t interval = m_timerEnabled ? m_animateInterval : 0;
    if (interval == m_timerRunning) return;
    m_timerRunning = interval;
    m_host.SetAnimationTimer(interval);
}

}  // namespace nimbo
