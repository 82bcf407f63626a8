// The main form: start-up, refresh cycle, actions and menus, tray icon, window messages and shutdown.
#include "widget/main_form_win.h"

#include <windowsx.h>

#include <algorithm>

#include "base/wide_text_win.h"
#include "widget/action_menu_win.h"
#include "widget/address_lookup.h"
#include "widget/config/options_form_win.h"
#include "widget/config/options_opening.h"
#include "widget/document_text.h"
#include "widget/face/locale_names_win.h"
#include "widget/messages.h"
#include "widget/settings_keys.h"
#include "widget/start_up.h"
#include "widget/version_check.h"
#include "widget/version_prompt_win.h"
#include "widget/weather_feed.h"

namespace nimbo {

namespace {

constexpr UINT kLoadedDelayMs = 250;
constexpr UINT kVersionDelayMs = 3000;
// Moving by the caption: the window follows the mouse until the button is released.
constexpr WPARAM kScDragMove = SC_MOVE + 2;
constexpr int kOptionsPagePlaces = 2;

constexpr char kWelcomeBalloon[] =
    "Nimbo! çalışıyor! Hemen bulunduğunuz ili seçin ve\r\ntam beş günlük Hava durumunu öğrenin. Bunun için ana "
    "pencerede farenin sağ tuşuna basmanız yeterli. Hem dahası da var...";

}  // namespace

TNimboMainForm::TNimboMainForm(SettingsFile& settings) : Window(kApplicationTitle), m_settings(settings) {}

bool TNimboMainForm::Create() {
    // A tool window has no task-bar button; a double click on the widget refreshes (CS_DBLCLKS).
    return Window::Create(Widen(kMainFormClassName).c_str(), WS_EX_LAYERED | WS_EX_TOOLWINDOW, WS_POPUP,
                          settings::kLeft.widgetDefault, settings::kTop.widgetDefault, kWidth, kHeight, nullptr,
                          CS_DBLCLKS);
}

LRESULT TNimboMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            FormCreate();
            return 0;
        case WM_DESTROY:
            FormDestroy();
            return 0;
        case WM_CLOSE:
            CloseWidget();
            return 0;
        case WM_COMMAND:
            CommandReceived(LOWORD(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            ApplyActionStates();
            return 0;
        case WM_CONTEXTMENU:
            ShowContextMenu(lParam);
            return 0;
        case WM_LBUTTONDOWN:
            MousePressed(true, lParam);
            return 0;
        case WM_LBUTTONDBLCLK:
            ExecuteAction(ActionId::RefreshAction);
            MousePressed(true, lParam);
            return 0;
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            MousePressed(false, lParam);
            break;
        case WM_TIMER:
            switch (wParam) {
                case CheckTimer:
                    m_refresh.CheckTimerTimer();
                    return 0;
                case LoadedTimer:
                    LoadedTimerTimer();
                    return 0;
                case VersionTimer:
                    StartVersionCheck();
                    return 0;
            }
            break;
        case WM_MOVE:
            // The information window follows the widget here once it exists.
            break;
        case WM_ACTIVATEAPP:
            if (!wParam) ApplicationDeactivate();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            EndSession();
            break;
        case WM_WEATHER_DONE:
            WeatherDone(static_cast<int32_t>(lParam));
            return 0;
        case WM_ADDRESS_DONE:
            AddressDone(static_cast<int32_t>(lParam));
            return 0;
        case WM_VERSION_DONE:
            VersionDone(static_cast<int32_t>(lParam));
            return 0;
        case WM_WIDGET_SHOW:
            WidgetShowRequest();
            return 0;
        case WM_WIDGET_CLOSE:
            CloseWidget();
            return 0;
    }
    return Default(message, wParam, lParam);
}

void TNimboMainForm::FormCreate() {
    m_servers = ReadServerAddresses(m_settings);
    // 1. The drawing surface; the face also makes the window layered (9.) and loads its fixed pictures (10.),
    // and starts in the small style with BackgroundStretch 1.25 and the grid hidden (3.). 2.
    m_face = std::make_unique<MainFace>(Handle(), kHiddenAlpha);
    m_calendarNames = ReadTurkishCalendarNames();
    // 4. The application's hints join here with the face. 5.
    m_shortPopup = BuildActionMenu(ShortPopupEntries());
    m_trayPopup = std::make_unique<TrayPopupMenuWin>(BuildActionMenu(TrayPopupEntries()), Handle());
    m_tray =
        std::make_unique<TrayIconWin>(kApplicationTitle, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    TTrayIcon& tray = **m_tray;
    tray.SetHint(kApplicationTitle);
    tray.PopupMenu = m_trayPopup.get();
    tray.OnDblClick = [this] { ExecuteAction(ActionId::ShowAction); };
    tray.SetBalloonTitle(kApplicationTitle);
    tray.BalloonFlags = TBalloonFlags::bfInfo;
    tray.SetBalloonHint(kWelcomeBalloon);
    // 6. The version check runs once, 3 s after start.
    if (Read(m_settings, settings::kCheckNewVersion)) SetTimer(Handle(), VersionTimer, kVersionDelayMs, nullptr);
    // 7. No forecast day is known yet.
    for (auto& day : Weather().Forecast) day.Day.clear();
    // 8. Deactivation is handled by WM_ACTIVATEAPP. 11.
    LoadWidgetSettings();
    // 12. The stored view style, 13. the unit letter of the feed address.
    m_viewStyle = m_widgetSettings.viewStyle;
    m_face->Layout().style = ViewStyleOf(m_viewStyle);
    Weather().Unit = "c";
    // 14. With fading on, the form appears invisible and LoadedTimer fades it in.
    m_face->Painter().SetAlpha(m_widgetSettings.fadeEffect ? kHiddenAlpha : m_fullAlpha);
    // 15.-17.
    ComposeFace();
    m_refresh.StartWeatherDownload();
    StartAddressLookup();
    // 18.
    tray.SetVisible(m_widgetSettings.showTrayIcon);
    SetCheckTimerEnabled(m_widgetSettings.autoUpdate);
    // 19.
    SetTimer(Handle(), LoadedTimer, kLoadedDelayMs, nullptr);
    // 20. The favourites list and the information and about windows are created here when they exist.
}

void TNimboMainForm::FormDestroy() {
    KillTimer(Handle(), CheckTimer);
    KillTimer(Handle(), LoadedTimer);
    KillTimer(Handle(), VersionTimer);
    try {
        SaveWidgetSettings();
    } catch (const std::exception& error) {
        ShowErrorBox(nullptr, kApplicationTitle, error.what());
    }
    // A running download is waited for; its message then finds no window.
    m_weatherThread.reset();
    m_addressThread.reset();
    m_versionThread.reset();
    // The icon leaves the tray now; the component itself goes with the form object, after the message loop,
    // since a close request may arrive while its own window is still inside a handler (its menu).
    if (m_tray) (*m_tray)->SetVisible(false);
    PostQuitMessage(0);
}

void TNimboMainForm::LoadWidgetSettings() {
    const LoadedWidgetSettings loaded = ReadWidgetSettings(m_settings);
    m_widgetSettings = loaded.settings;
    SetWindowPos(Handle(), nullptr, loaded.left, loaded.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Weather().City = loaded.cityName;
    Weather().CityID = loaded.cityId;
    m_face->SetFonts(loaded.tempFontName, loaded.cityFontName);
    // A new period counts from now; whether the timer runs is not changed here.
    if (m_checkTimerEnabled) SetCheckTimerEnabled(true);
    // HideBtn is drawn exactly when the tray icon is shown (TrayIconShown).
    if (m_tray) (*m_tray)->SetVisible(m_widgetSettings.showTrayIcon);
    SetTopMost(m_widgetSettings.alwaysTop);
    m_hibernating = m_widgetSettings.hibernate;
    ApplyActionStates();
}

void TNimboMainForm::SaveWidgetSettings() {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    SavedWidgetState state;
    state.viewStyle = m_viewStyle;
    state.left = rect.left;
    state.top = rect.top;
    state.cityName = Weather().City;
    state.cityId = Weather().CityID;
    state.infoTextLeft = m_infoTextLeft;
    state.infoTextTop = m_infoTextTop;
    state.showInfoText = m_widgetSettings.showInfoText;
    state.hibernate = m_hibernating;
    nimbo::SaveWidgetSettings(m_settings, state, m_widgetSettings);
}

void TNimboMainForm::LoadedTimerTimer() {
    KillTimer(Handle(), LoadedTimer);
    ShowWidget();
    if (m_widgetSettings.firstUsage && m_tray) (*m_tray)->ShowBalloon();
    // Hibernation is entered again here when it joins.
}

// --- downloads -----------------------------------------------------------------------------------------

bool TNimboMainForm::WeatherDownloadRunning() const { return m_weatherThread && !m_weatherThread->Terminated(); }

bool TNimboMainForm::StartWeatherThread(const std::string& feedPath) {
    m_weatherThread.reset();
    auto thread = std::make_unique<TInternetThread>(true, Handle(), m_servers.Weather + feedPath, WM_WEATHER_DONE);
    if (!thread->Resume()) return false;
    m_weatherThread = std::move(thread);
    return true;
}

void TNimboMainForm::WeatherDone(int32_t resultCode) {
    // A stray message, with no download of ours behind it, changes nothing.
    if (!m_weatherThread) return;
    const std::string bytes = m_weatherThread->ResultText();
    m_weatherThread.reset();
    m_refresh.WeatherDownloadDone(resultCode, bytes);
}

void TNimboMainForm::StartAddressLookup() {
    if (m_addressThread && !m_addressThread->Terminated()) return;
    m_addressThread.reset();
    m_addressThread = std::make_unique<TInternetThread>(true, Handle(), AddressDocumentUrl(m_servers), WM_ADDRESS_DONE);
    if (!m_addressThread->Resume()) m_addressThread.reset();
}

void TNimboMainForm::AddressDone(int32_t resultCode) {
    if (!m_addressThread) return;
    const std::string text = DecodeDocumentText(m_addressThread->ResultText());
    m_addressThread.reset();
    if (resultCode == 0) {
        if (auto address = ReadPublicAddress(text)) Weather().IPAddress = *address;
    }
    RebuildInfoText();
}

void TNimboMainForm::StartVersionCheck() {
    if (m_versionThread && !m_versionThread->Terminated()) return;
    // Once per run.
    KillTimer(Handle(), VersionTimer);
    m_versionThread.reset();
    m_versionThread = std::make_unique<TInternetThread>(true, Handle(), VersionDocumentUrl(m_servers), WM_VERSION_DONE);
    if (!m_versionThread->Resume()) m_versionThread.reset();
}

void TNimboMainForm::VersionDone(int32_t resultCode) {
    if (!m_versionThread) return;
    const std::string text = DecodeDocumentText(m_versionThread->ResultText());
    m_versionThread.reset();
    if (resultCode != 0) return;
    const std::string latest = ReadLatestVersion(text);
    if (latest.empty() || !IsNewerVersion(latest)) return;
    OfferNewVersion(Handle(), latest, m_servers);
}

void TNimboMainForm::SetCheckTimerEnabled(bool enabled) {
    m_checkTimerEnabled = enabled;
    if (enabled) {
        SetTimer(Handle(), CheckTimer, m_widgetSettings.updatePeriodMs, nullptr);
    } else {
        KillTimer(Handle(), CheckTimer);
    }
}

void TNimboMainForm::GrowToViewStyle(bool animate) { m_face->GrowToViewStyle(animate, m_widgetSettings); }

void TNimboMainForm::ParseWeatherFeed(WeatherData& weather) { nimbo::ParseWeatherFeed(weather); }

SystemTime TNimboMainForm::Today() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

void TNimboMainForm::RebuildInfoText() {
    // The information window rebuilds its text here once it exists.
}

bool TNimboMainForm::WidgetVisible() const { return IsWindowVisible(Handle()) != FALSE; }

void TNimboMainForm::ShowInfoWindow() {
    // The information window is shown here once it exists.
}

void TNimboMainForm::SetTrayHint(const std::string& hint) {
    if (m_tray) (*m_tray)->SetHint(hint);
}

// --- actions -------------------------------------------------------------------------------------------

void TNimboMainForm::CommandReceived(WORD commandId) {
    const ActionInfo* action = FindAction(commandId);
    // A disabled action does not run, whichever menu, button or message asked for it.
    if (!action || !ActionEnabled(action->id, m_refresh.State(), TrayIconShown())) return;
    ExecuteAction(action->id);
}

void TNimboMainForm::ExecuteAction(ActionId action) {
    switch (action) {
        case ActionId::ExitAction:
            // Posted: the command may come from inside the tray icon's own handler (its menu).
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            break;
        case ActionId::ShowInfoAction:
            SetShowInfo(!m_widgetSettings.showInfoText);
            break;
        case ActionId::OptionsAction:
            OpenOptions(-1);
            break;
        case ActionId::AddLocAction:
            OpenOptions(kOptionsPagePlaces);
            break;
        case ActionId::HideAction:
            HideActionExecute();
            break;
        case ActionId::ShowAction:
            ShowActionExecute();
            break;
        case ActionId::RefreshAction:
            m_refresh.Refresh();
            break;
        case ActionId::AboutAction:
            // The about window is shown here once it exists.
            break;
        case ActionId::MiniAction:
            SetViewStyle(0);
            break;
        case ActionId::MidiAction:
            SetViewStyle(1);
            break;
        case ActionId::MaxiAction:
            SetViewStyle(2);
            break;
        case ActionId::HibernateAction:
            // Hibernation joins with the favourites menus.
            break;
        case ActionId::FetchIPAction:
            FetchIPActionExecute();
            break;
    }
}

bool TNimboMainForm::TrayIconShown() { return m_tray && (*m_tray)->Visible(); }

void TNimboMainForm::ApplyActionStates() {
    const CheckSources checks{m_viewStyle, m_widgetSettings.showInfoText, m_hibernating};
    const bool trayShown = TrayIconShown();
    for (HMENU menu : {m_shortPopup.Get(), m_trayPopup ? m_trayPopup->Menu() : nullptr}) {
        if (menu) nimbo::ApplyActionStates(menu, m_refresh.State(), trayShown, checks);
    }
}

void TNimboMainForm::OpenOptions(int page) {
    OptionsOpening form;
    form.setCheckTimerEnabled = [this](bool enabled) { SetCheckTimerEnabled(enabled); };
    form.autoUpdate = [this] { return m_widgetSettings.autoUpdate; };
    form.saveWidgetSettings = [this] { SaveWidgetSettings(); };
    form.runDialog = [this, page] { return TOptionsForm(m_settings, m_servers, page).Run(Handle()); };
    form.loadWidgetSettings = [this] { LoadWidgetSettings(); };
    form.startWeatherDownload = [this] { m_refresh.StartWeatherDownload(); };
    form.composeFace = [this] { ComposeFace(); };
    form.rebuildInfoText = [this] { RebuildInfoText(); };
    form.applyInfoWindow = [this] {
        // The information window is hidden here, when Appearance/ShowInfoText is off, once it exists.
        if (m_widgetSettings.showInfoText) ShowInfoWindow();
    };
    nimbo::OpenOptions(form);
}

void TNimboMainForm::SetShowInfo(bool on) {
    m_widgetSettings.showInfoText = on;
    // The information window is shown or hidden here once it exists.
    Write(m_settings, settings::kShowInfoText, on);
    m_settings.UpdateFile();
    ApplyActionStates();
}

void TNimboMainForm::SetViewStyle(uint8_t style) {
    static constexpr ViewStyleAction kActions[] = {ViewStyleAction::Mini, ViewStyleAction::Midi, ViewStyleAction::Maxi};
    m_viewStyle = style;
    m_widgetSettings.viewStyle = style;
    if (!m_face->ExecuteViewStyle(kActions[style], CurrentFaceInputs())) ComposeFace();
    ApplyActionStates();
}

void TNimboMainForm::ShowActionExecute() {
    SetForegroundWindow(Handle());
    ShowWidget();
    if (m_widgetSettings.showInfoText) ShowInfoWindow();
}

void TNimboMainForm::HideActionExecute() {
    HideWidget();
    // The information window is hidden here once it exists.
}

void TNimboMainForm::FetchIPActionExecute() {
    Weather().IPAddress = kAddressPending;
    RebuildInfoText();
    StartAddressLookup();
}

// --- window --------------------------------------------------------------------------------------------

void TNimboMainForm::ShowWidget() {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    if (m_widgetSettings.fadeEffect) {
        FadeIn();
    } else {
        m_face->Painter().SetAlpha(m_fullAlpha);
        ComposeFace();
    }
}

void TNimboMainForm::HideWidget() {
    if (m_widgetSettings.fadeEffect) FadeOut();
    ShowWindow(Handle(), SW_HIDE);
}

void TNimboMainForm::CloseWidget() {
    // The information window is hidden first here once it exists.
    HideWidget();
    DestroyWindow(Handle());
}

void TNimboMainForm::WidgetShowRequest() {
    if (!IsWindowVisible(Handle()) || m_face->Painter().Alpha() == kHiddenAlpha) {
        ShowWidget();
        if (m_widgetSettings.showInfoText) ShowInfoWindow();
    }
    SetForegroundWindow(Handle());
}

void TNimboMainForm::EndSession() {
    HideWidget();
    SaveWidgetSettings();
}

void TNimboMainForm::ApplicationDeactivate() {
    m_faceActive = false;
    ComposeFace();
}

void TNimboMainForm::MousePressed(bool leftButton, LPARAM clientPoint) {
    // The face's buttons are drawn, and so can be pressed, only while the face is active.
    if (leftButton && m_faceActive && PressFaceButton({GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)})) return;
    // The information window's offset is taken here once it exists.
    if (!m_faceActive) {
        m_faceActive = true;
        SetTopMost(m_widgetSettings.alwaysTop);
        ComposeFace();
    }
    if (leftButton) {
        ReleaseCapture();
        SendMessageW(Handle(), WM_SYSCOMMAND, kScDragMove, 0);
        // The window's rectangle is its position; the face is drawn again where it was dropped.
        ComposeFace();
    }
}

void TNimboMainForm::ShowContextMenu(LPARAM screenPoint) {
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    // From the keyboard the point is (-1, -1): open the menu at the mouse.
    if (point.x == -1 && point.y == -1) GetCursorPos(&point);
    ApplyActionStates();
    SetForegroundWindow(Handle());
    TrackPopupMenuEx(m_shortPopup.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, Handle(), nullptr);
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

bool TNimboMainForm::PressFaceButton(POINT point) {
    const FaceLayout& layout = m_face->Layout();
    const std::pair<const Placeholder*, ActionId> buttons[] = {{&layout.exitBtn, ActionId::ExitAction},
                                                               {&layout.hideBtn, ActionId::HideAction},
                                                               {&layout.optionsBtn, ActionId::OptionsAction}};
    for (const auto& [button, action] : buttons) {
        if (!button->visible || point.x < button->left || point.x >= button->left + button->width ||
            point.y < button->top || point.y >= button->top + button->height) {
            continue;
        }
        // The same command as the menus send, so availability is decided in one place.
        PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(action), 0), 0);
        return true;
    }
    return false;
}

FaceInputs TNimboMainForm::CurrentFaceInputs() {
    return FaceInputs{Weather(), m_widgetSettings, m_refresh.State(), m_faceActive, TrayIconShown(), Today()};
}

void TNimboMainForm::ComposeFace() {
    m_face->Compose(CurrentFaceInputs());
    ApplyActionStates();
}

void TNimboMainForm::FadeIn() { m_face->Painter().FadeIn(m_fullAlpha); }

void TNimboMainForm::FadeOut() { m_face->Painter().FadeOut(kHiddenAlpha); }

void TNimboMainForm::SetTopMost(bool topMost) {
    SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace nimbo
