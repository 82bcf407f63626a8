// The main form: window messages to the controller, and the controller's requests to windows, GDI+, the download
// threads, the tray icon and the dialogs.
#include "widget/windows/main_form_win.h"

#include <windowsx.h>

#include "base/popup_menu_win.h"
#include "base/wide_text_win.h"
#include "widget/action_menu_win.h"
#include "widget/config/options_form_win.h"
#include "widget/face/face_hints.h"
#include "widget/face/locale_names_win.h"
#include "widget/face/spoken_summary.h"
#include "widget/favorites_menu.h"
#include "widget/messages.h"
#include "widget/screen_placement_win.h"
#include "widget/settings_keys.h"
#include "widget/start_up.h"
#include "widget/version_prompt_win.h"
#include "widget/windows/hibernate_form_win.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {

namespace {

// Favourite items' commands: this plus the item's place in the submenu, clear of every action's.
constexpr WORD kFavoriteCommandBase = 2000;

// Each kind's completion message, by DownloadKind.
constexpr UINT kDoneMessages[] = {WM_WEATHER_DONE, WM_ADDRESS_DONE, WM_VERSION_DONE};

size_t IndexOf(DownloadKind kind) { return static_cast<size_t>(kind); }

}  // namespace

TNimboMainForm::TNimboMainForm(SettingsFile& settings)
    : LayeredWindow(kApplicationTitle),
      m_settings(settings),
      m_controller(*this, settings, ReadTurkishCalendarNames()),
      m_infoForm([this] { m_controller.InfoWindowClosed(); }),
      m_aboutForm(ProjectsPageUrl(m_controller.Servers()), ShownWebAddress(m_controller.Servers().Web),
                  m_controller.Servers().Direct) {}

bool TNimboMainForm::Create() {
    WindowCreation creation;
    creation.title = kApplicationTitle;
    // A tool window has no task-bar button.
    creation.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    creation.x = settings::kLeft.widgetDefault;
    creation.y = settings::kTop.widgetDefault;
    creation.width = kMainFaceWidth;
    creation.height = kMainFaceHeight;
    // A double click on the widget refreshes.
    creation.classStyle = CS_DBLCLKS;
    const std::wstring className = Widen(kMainWindowClass);
    creation.className = className.c_str();
    return Window::Create(creation);
}

// --- window messages -----------------------------------------------------------------------------------

bool TNimboMainForm::OnCreate() {
    for (const DownloadKind kind : {DownloadKind::Weather, DownloadKind::Address, DownloadKind::Version}) {
        m_downloads[IndexOf(kind)] = std::make_unique<DownloadSlot>(Handle(), kDoneMessages[IndexOf(kind)]);
    }
    // The face makes the window layered, loads its fixed pictures and starts small and invisible, with the grid
    // hidden.
    m_face = std::make_unique<MainFace>(Handle(), kHiddenAlpha, WindowDpi(Handle()));
    FitToFace();
    m_widgetMenu = BuildActionMenu(WidgetMenuEntries());
    m_trayMenu = std::make_unique<TrayPopupMenuWin>(BuildActionMenu(TrayMenuEntries()), Handle());
    CreateTrayIcon();
    m_infoForm.Create(Handle());
    m_aboutForm.Create(Handle());
    m_controller.Start();
    return true;
}

void TNimboMainForm::CreateTrayIcon() {
    m_tray =
        std::make_unique<TrayIconWin>(kApplicationTitle, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    TTrayIcon& tray = **m_tray;
    tray.SetHint(kApplicationTitle);
    tray.PopupMenu = m_trayMenu.get();
    tray.OnDblClick = [this] { m_controller.Execute(ActionId::Show); };
    tray.SetBalloonTitle(kApplicationTitle);
    tray.BalloonFlags = TBalloonFlags::bfInfo;
    // The application's icon from its entry for the tray's size.
    SetTrayIcon(TrayIconFace{});
}

void TNimboMainForm::OnDestroy() {
    try {
        m_controller.Stop();
    } catch (const std::exception& error) {
        ShowErrorBox(nullptr, kApplicationTitle, error.what());
    }
    // A running download is waited for; its message then finds no window.
    for (const auto& slot : m_downloads) {
        if (slot) slot->Reset();
    }
    // The icon leaves the tray now; the component itself goes with the form object, after the message loop,
    // since a close request may arrive while its own window is still inside a handler (its menu).
    if (m_tray) (*m_tray)->SetVisible(false);
    PostQuitMessage(0);
}

bool TNimboMainForm::OnCommand(WORD id) {
    if (id >= kFavoriteCommandBase) {
        m_controller.PickFavorite(id - kFavoriteCommandBase);
    } else if (const ActionInfo* action = FindAction(id)) {
        m_controller.Execute(action->id);
    }
    return true;
}

bool TNimboMainForm::OnTimer(UINT_PTR id) {
    if (id < static_cast<UINT_PTR>(WidgetTimer::Refresh) || id > static_cast<UINT_PTR>(WidgetTimer::WeatherAge)) {
        return false;
    }
    m_controller.TimerElapsed(static_cast<WidgetTimer>(id));
    return true;
}

bool TNimboMainForm::OnContextMenu(POINT screen) {
    // From the keyboard the point is (-1, -1): open the menu at the mouse.
    if (screen.x == -1 && screen.y == -1) GetCursorPos(&screen);
    ApplyMenuStates();
    ShowPopupMenu(Handle(), m_widgetMenu.Get(), screen);
    return true;
}

bool TNimboMainForm::OnMouseDown(MouseButton button, POINT client) {
    return m_controller.WidgetPressed(button == MouseButton::Left, FaceButtonUnder(client), MessagePoint());
}

bool TNimboMainForm::OnDoubleClick(POINT client) {
    return m_controller.WidgetDoubleClicked(FaceButtonUnder(client), MessagePoint());
}

void TNimboMainForm::OnMouseMove(POINT client) {
    LayeredWindow::OnMouseMove(client);
    // The key state as it was when this message was posted.
    m_controller.WidgetMouseMoved(MessagePoint(), GetKeyState(VK_LBUTTON) < 0);
}

FaceButton TNimboMainForm::FaceButtonUnder(POINT client) {
    if (!m_face) return FaceButton::None;
    const POINT point = LayoutPoint(client);
    return FaceButtonAt(m_face->Layout(), point.x, point.y);
}

LRESULT TNimboMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
        case WM_WIDGET_CLOSE:
            m_controller.CloseRequested();
            return 0;
        case WM_INITMENUPOPUP:
            ApplyMenuStates();
            FillFavoritesMenu(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_LBUTTONUP:
            m_controller.WidgetReleased(FaceButtonUnder({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
            return 0;
        case WM_MOVE:
            m_controller.WidgetMoved();
            break;
        case WM_DISPLAYCHANGE:
            m_controller.DisplayChanged();
            break;
        case kWmDpiChanged:
            TakeDpiChange(wParam, lParam);
            m_controller.ScaleChanged();
            return 0;
        case WM_ACTIVATEAPP:
            if (!wParam) m_controller.Deactivated();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            m_controller.SessionEnding();
            break;
        case WM_WEATHER_DONE:
            DownloadEnded(DownloadKind::Weather, static_cast<int32_t>(lParam));
            return 0;
        case WM_ADDRESS_DONE:
            DownloadEnded(DownloadKind::Address, static_cast<int32_t>(lParam));
            return 0;
        case WM_VERSION_DONE:
            DownloadEnded(DownloadKind::Version, static_cast<int32_t>(lParam));
            return 0;
        case WM_WIDGET_SHOW:
            m_controller.ShowRequested();
            return 0;
    }
    return Default(message, wParam, lParam);
}

void TNimboMainForm::DownloadEnded(DownloadKind kind, int32_t resultCode) {
    // A stray message, with no download of ours behind it, changes nothing.
    if (const auto bytes = m_downloads[IndexOf(kind)]->Finish()) m_controller.DownloadDone(kind, resultCode, *bytes);
}

void TNimboMainForm::ApplyMenuStates() {
    const ActionStates states = m_controller.MenuStates();
    for (HMENU menu : {m_widgetMenu.Get(), m_trayMenu ? m_trayMenu->Menu() : nullptr}) {
        if (menu)
            ApplyActionStates(menu, states.connection, states.trayIconVisible, states.addressServer, states.checks);
    }
}

void TNimboMainForm::FillFavoritesMenu(HMENU submenu) {
    if (!submenu || (submenu != FirstSubmenu(m_widgetMenu.Get()) &&
                     submenu != FirstSubmenu(m_trayMenu ? m_trayMenu->Menu() : nullptr))) {
        return;
    }
    while (GetMenuItemCount(submenu) > 0) DeleteMenu(submenu, 0, MF_BYPOSITION);
    const std::vector<std::string> names = m_controller.OpenFavoritesMenu();
    if (names.empty()) AppendMenuW(submenu, MF_STRING | MF_GRAYED, 0, Widen(kEmptyFavoritesCaption).c_str());
    for (size_t i = 0; i < names.size(); ++i) {
        AppendMenuW(submenu, MF_STRING, kFavoriteCommandBase + i, Widen(MenuCaptionOf(names[i])).c_str());
    }
}

// --- the controller's view -----------------------------------------------------------------------------

bool TNimboMainForm::StartDownload(DownloadKind kind, const std::string& url) {
    return m_downloads[IndexOf(kind)]->Start(url);
}

bool TNimboMainForm::DownloadRunning(DownloadKind kind) const { return m_downloads[IndexOf(kind)]->Running(); }

void TNimboMainForm::StartTimer(WidgetTimer timer, uint32_t intervalMs) {
    SetTimer(Handle(), static_cast<UINT_PTR>(timer), intervalMs, nullptr);
}

void TNimboMainForm::StopTimer(WidgetTimer timer) { KillTimer(Handle(), static_cast<UINT_PTR>(timer)); }

void TNimboMainForm::ComposeFace(const FaceInputs& inputs) {
    m_face->Compose(inputs);
    SetHints(MainFaceHints(m_face->Layout()));
    SetAccessibleName(SpokenSummary(inputs.connection, inputs.weather, inputs.now));
}

void TNimboMainForm::SetFaceStyle(ViewStyle style, const std::string& temperatureFont, const std::string& placeFont) {
    m_face->Layout().style = style;
    m_face->SetFonts(temperatureFont, placeFont);
}

void TNimboMainForm::GrowFace(bool animate, const WidgetSettings& settings) {
    m_face->GrowToViewStyle(animate, settings);
}

bool TNimboMainForm::ChangeViewStyle(ViewStyle style, const FaceInputs& inputs) {
    const bool changed = m_face->ChangeViewStyle(style, inputs);
    if (changed) SetHints(MainFaceHints(m_face->Layout()));
    return changed;
}

void TNimboMainForm::DrawInfoWindow(const InfoFaceInputs& inputs) { m_infoForm.Redraw(inputs); }

void TNimboMainForm::Show(WidgetWindow window, uint8_t fullAlpha, bool fade) {
    if (window == WidgetWindow::Info) return m_infoForm.ShowInfo(fullAlpha, fade);
    ShowFaded(fullAlpha, fade);
}

void TNimboMainForm::Hide(WidgetWindow window, bool fade) {
    if (window == WidgetWindow::Info) return m_infoForm.HideInfo(fade);
    HideFaded(fade);
}

void TNimboMainForm::SetHibernating(WidgetWindow window, bool on, uint8_t fullAlpha, bool fade) {
    if (window == WidgetWindow::Info) return m_infoForm.Hibernate(on, fullAlpha, fade);
    LayeredWindow::SetHibernating(on, fullAlpha, fade);
}

void TNimboMainForm::SetTopMost(WidgetWindow window, bool topMost) {
    if (window == WidgetWindow::Info) return m_infoForm.SetTopMost(topMost);
    LayeredWindow::SetTopMost(topMost);
}

ScreenRect TNimboMainForm::WindowRect(WidgetWindow window) const {
    if (window == WidgetWindow::Info) return m_infoForm.Rect();
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void TNimboMainForm::MoveTo(WidgetWindow window, int left, int top) {
    if (window == WidgetWindow::Info) return m_infoForm.MoveTo(left, top);
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<ScreenRect> TNimboMainForm::WorkAreas() const { return MonitorWorkAreas(); }

void TNimboMainForm::BringToFront() { SetForegroundWindow(Handle()); }

void TNimboMainForm::CaptureMouse(bool on) { SetMouseCapture(on); }

ScreenPoint TNimboMainForm::DragThreshold() const { return LayeredWindow::DragThreshold(); }

// Posted: the command may come from inside the tray icon's own handler (its menu).
void TNimboMainForm::RequestClose() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TNimboMainForm::DestroyWidget() { DestroyWindow(Handle()); }

void TNimboMainForm::ShowAboutWindow(uint8_t fullAlpha, bool fade) { m_aboutForm.ShowAbout(fullAlpha, fade); }

void TNimboMainForm::SetTrayIconVisible(bool visible) { (*m_tray)->SetVisible(visible); }

void TNimboMainForm::SetTrayHint(const std::string& hint) { (*m_tray)->SetHint(hint); }

void TNimboMainForm::SetTrayIcon(const TrayIconFace& face) {
    m_trayPicture.Show(**m_tray, m_tray->HiddenWindow(), face);
}

void TNimboMainForm::ShowTrayBalloon(const std::string& text) {
    (*m_tray)->SetBalloonHint(text);
    (*m_tray)->ShowBalloon();
}

OptionsOutcome TNimboMainForm::RunOptionsDialog(int page, const ServerAddresses& servers) {
    return TOptionsForm(m_settings, servers, page).Run(Handle());
}

std::optional<bool> TNimboMainForm::RunHibernateDialog() { return THibernateForm().Run(Handle()); }

void TNimboMainForm::OfferNewVersion(const std::string& latest, const std::string& downloadPageUrl) {
    nimbo::OfferNewVersion(Handle(), latest, downloadPageUrl);
}

ScreenPoint TNimboMainForm::CursorPosition() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
}

// Asked of the whole system: while hibernating the widget lets the mouse through, so no key message reaches it.
bool TNimboMainForm::ControlKeyDown() const { return GetAsyncKeyState(VK_CONTROL) < 0; }

SystemTime TNimboMainForm::Now() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace nimbo
