// The main form: start-up, refresh cycle, actions and menus, tray icon, window messages and shutdown.
#include "widget/windows/main_form_win.h"

#include <algorithm>

#include "base/popup_menu_win.h"
#include "base/wide_text_win.h"
#include "widget/action_menu_win.h"
#include "widget/address_lookup.h"
#include "widget/config/options_form_win.h"
#include "widget/config/options_opening.h"
#include "widget/document_text.h"
#include "widget/face/face_hints.h"
#include "widget/face/locale_names_win.h"
#include "widget/face/value_format.h"
#include "widget/favorites_menu.h"
#include "widget/messages.h"
#include "widget/screen_placement_win.h"
#include "widget/settings_keys.h"
#include "widget/start_up.h"
#include "widget/version_check.h"
#include "widget/version_prompt_win.h"
#include "widget/weather_feed.h"
#include "widget/windows/hibernate_form_win.h"

namespace nimbo {

namespace {

constexpr UINT kLoadedDelayMs = 250;
constexpr UINT kVersionDelayMs = 3000;
constexpr UINT kMouseTimerMs = 200;
constexpr int kOptionsPagePlaces = 2;
// Favourite items' commands: this plus the line's place in FavoriteMenuList, clear of every action's.
constexpr WORD kFavoriteCommandBase = 2000;

constexpr char kWelcomeBalloon[] =
    "Nimbo! çalışıyor! Hemen bulunduğunuz ili seçin ve\r\ntam beş günlük Hava durumunu öğrenin. Bunun için ana "
    "pencerede farenin sağ tuşuna basmanız yeterli. Hem dahası da var...";

}  // namespace

TNimboMainForm::TNimboMainForm(SettingsFile& settings) : LayeredWindow(kApplicationTitle), m_settings(settings) {}

bool TNimboMainForm::Create() {
    WindowCreation creation;
    creation.title = kApplicationTitle;
    // A tool window has no task-bar button.
    creation.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    creation.x = settings::kLeft.widgetDefault;
    creation.y = settings::kTop.widgetDefault;
    creation.width = kWidth;
    creation.height = kHeight;
    // A double click on the widget refreshes.
    creation.classStyle = CS_DBLCLKS;
    const std::wstring className = Widen(kMainWindowClass);
    creation.className = className.c_str();
    return Window::Create(creation);
}

bool TNimboMainForm::OnCreate() {
    FormCreate();
    return true;
}

void TNimboMainForm::OnDestroy() { FormDestroy(); }

bool TNimboMainForm::OnCommand(WORD id) {
    if (id >= kFavoriteCommandBase && static_cast<size_t>(id - kFavoriteCommandBase) < m_favoriteMenuList.size()) {
        PickFavorite(id - kFavoriteCommandBase);
        return true;
    }
    const ActionInfo* action = FindAction(id);
    // A disabled action does not run, whichever menu, button or message asked for it.
    if (action && ActionEnabled(action->id, m_refresh.State(), TrayIconShown())) ExecuteAction(action->id);
    return true;
}

bool TNimboMainForm::OnTimer(UINT_PTR id) {
    switch (id) {
        case CheckTimer:
            m_refresh.CheckTimerTimer();
            return true;
        case LoadedTimer:
            OnStartupDelayElapsed();
            return true;
        case VersionTimer:
            StartVersionCheck();
            return true;
        case MouseTimer:
            OnHibernationWakeTick();
            return true;
    }
    return false;
}

bool TNimboMainForm::OnContextMenu(POINT screen) {
    // From the keyboard the point is (-1, -1): open the menu at the mouse.
    if (screen.x == -1 && screen.y == -1) GetCursorPos(&screen);
    ApplyActionStates();
    ShowPopupMenu(Handle(), m_shortPopup.Get(), screen);
    return true;
}

bool TNimboMainForm::OnDoubleClick(POINT client) {
    ExecuteAction(ActionId::Refresh);
    return OnMouseDown(MouseButton::Left, client);
}

LRESULT TNimboMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            CloseWidget();
            return 0;
        case WM_INITMENUPOPUP:
            ApplyActionStates();
            FillFavoritesMenu(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MOVE:
            FollowWithInfoWindow();
            break;
        case WM_DISPLAYCHANGE:
            KeepWindowOnScreen(Handle());  // a monitor may have gone with the widget on it
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
    m_weatherSlot = std::make_unique<DownloadSlot>(Handle(), WM_WEATHER_DONE);
    m_addressSlot = std::make_unique<DownloadSlot>(Handle(), WM_ADDRESS_DONE);
    m_versionSlot = std::make_unique<DownloadSlot>(Handle(), WM_VERSION_DONE);
    // The face makes the window layered, loads its fixed pictures and starts small, with the grid hidden.
    m_face = std::make_unique<MainFace>(Handle(), kHiddenAlpha);
    m_calendarNames = ReadTurkishCalendarNames();
    m_shortPopup = BuildActionMenu(WidgetMenuEntries());
    m_trayPopup = std::make_unique<TrayPopupMenuWin>(BuildActionMenu(TrayMenuEntries()), Handle());
    m_tray =
        std::make_unique<TrayIconWin>(kApplicationTitle, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    TTrayIcon& tray = **m_tray;
    tray.SetHint(kApplicationTitle);
    tray.PopupMenu = m_trayPopup.get();
    tray.OnDblClick = [this] { ExecuteAction(ActionId::Show); };
    tray.SetBalloonTitle(kApplicationTitle);
    tray.BalloonFlags = TBalloonFlags::bfInfo;
    tray.SetBalloonHint(kWelcomeBalloon);
    // The version check runs once, 3 s after start.
    if (Read(m_settings, settings::kCheckNewVersion) && VersionCheckPossible(m_servers)) {
        SetTimer(Handle(), VersionTimer, kVersionDelayMs, nullptr);
    }
    for (auto& day : Weather().Forecast) day.Day.clear();
    LoadWidgetSettings();
    m_viewStyle = m_widgetSettings.viewStyle;
    m_face->Layout().style = ViewStyleOf(m_viewStyle);
    Weather().Unit = "c";
    // With fading on, the form appears invisible and LoadedTimer fades it in.
    m_face->Painter().SetAlpha(m_widgetSettings.fadeEffect ? kHiddenAlpha : m_fullAlpha);
    ComposeFace();
    m_refresh.StartWeatherDownload();
    StartAddressLookup();
    tray.SetVisible(m_widgetSettings.showTrayIcon);
    SetCheckTimerEnabled(m_widgetSettings.autoUpdate);
    SetTimer(Handle(), LoadedTimer, kLoadedDelayMs, nullptr);
    m_infoForm = std::make_unique<TInfoTextForm>(static_cast<InfoTextHost&>(*this));
    m_infoForm->Create(Handle(), m_infoTextLeft, m_infoTextTop);
    TakeInfoOffset();
    m_aboutForm =
        std::make_unique<TAboutForm>(ProjectsPageUrl(m_servers), ShownWebAddress(m_servers.Web), m_servers.Direct);
    m_aboutForm->Create(Handle(), m_widgetSettings.fadeEffect);
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
    for (auto* slot : {m_weatherSlot.get(), m_addressSlot.get(), m_versionSlot.get()}) {
        if (slot) slot->Reset();
    }
    // The icon leaves the tray now; the component itself goes with the form object, after the message loop,
    // since a close request may arrive while its own window is still inside a handler (its menu).
    if (m_tray) (*m_tray)->SetVisible(false);
    PostQuitMessage(0);
}

void TNimboMainForm::LoadWidgetSettings() {
    const LoadedWidgetSettings loaded = ReadWidgetSettings(m_settings);
    m_widgetSettings = loaded.settings;
    SetWindowPos(Handle(), nullptr, loaded.left, loaded.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    KeepWindowOnScreen(Handle());  // saved past the screen's edge, or on a monitor that is gone
    Weather().City = loaded.cityName;
    Weather().CityID = loaded.cityId;
    m_face->SetFonts(loaded.tempFontName, loaded.cityFontName);
    // A new period counts from now; whether the timer runs is not changed here.
    if (m_checkTimerEnabled) SetCheckTimerEnabled(true);
    // HideBtn is drawn exactly when the tray icon is shown (TrayIconShown).
    if (m_tray) (*m_tray)->SetVisible(m_widgetSettings.showTrayIcon);
    SetTopMost(m_widgetSettings.alwaysTop);
    // Read once: afterwards the information window knows where it stands.
    if (!m_infoForm) {
        m_infoTextLeft = loaded.infoTextLeft;
        m_infoTextTop = loaded.infoTextTop;
    }
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
    if (m_infoForm) {
        const POINT info = m_infoForm->Position();
        m_infoTextLeft = info.x;
        m_infoTextTop = info.y;
    }
    state.infoTextLeft = m_infoTextLeft;
    state.infoTextTop = m_infoTextTop;
    state.showInfoText = m_widgetSettings.showInfoText;
    // Closed before LoadedTimer hibernated it again, the widget still means to hibernate at the next start.
    state.hibernate = m_hibernating || (m_widgetSettings.hibernate && !m_loaded);
    nimbo::SaveWidgetSettings(m_settings, state, m_widgetSettings);
}

void TNimboMainForm::OnStartupDelayElapsed() {
    KillTimer(Handle(), LoadedTimer);
    m_loaded = true;
    ShowWidget();
    // A feed that came before the widget showed could not show the information window yet.
    if (m_widgetSettings.showInfoText && m_refresh.DataShown()) ShowInfoWindow();
    if (m_widgetSettings.firstUsage && m_tray) (*m_tray)->ShowBalloon();
    // The check mark shows only once the widget really hibernates again.
    if (m_widgetSettings.hibernate) HibernateActionExecute();
}

// --- downloads -----------------------------------------------------------------------------------------

bool TNimboMainForm::WeatherDownloadRunning() const { return m_weatherSlot->Running(); }

bool TNimboMainForm::StartWeatherThread(const std::string& feedPath) {
    m_weatherFetch = std::make_unique<WeatherFetch>(m_servers, m_settings, Weather(), feedPath, m_feedConversion);
    return m_weatherSlot->Start(m_weatherFetch->Url());
}

void TNimboMainForm::WeatherDone(int32_t resultCode) {
    // A stray message, with no download of ours behind it, changes nothing.
    const auto bytes = m_weatherSlot->Finish();
    if (!bytes || !m_weatherFetch) return;
    // Direct mode's look-up is followed by the forecast on a new thread; the refresh stays outstanding.
    if (m_weatherFetch->Advance(resultCode, *bytes)) {
        if (m_weatherSlot->Start(m_weatherFetch->Url())) return;
        m_weatherFetch.reset();
        m_refresh.WeatherDownloadDone(-1, {});
        return;
    }
    const std::unique_ptr<WeatherFetch> fetch = std::move(m_weatherFetch);
    m_refresh.WeatherDownloadDone(fetch->ResultCode(), fetch->FeedBytes());
}

void TNimboMainForm::StartAddressLookup() {
    if (!AddressLookupPossible(m_servers)) return;
    if (!m_addressSlot->Running()) m_addressSlot->Start(AddressDocumentUrl(m_servers));
}

void TNimboMainForm::AddressDone(int32_t resultCode) {
    const auto bytes = m_addressSlot->Finish();
    if (!bytes) return;
    if (resultCode == 0) {
        if (auto address = ReadPublicAddress(DecodeDocumentText(*bytes))) Weather().IPAddress = *address;
    }
    RebuildInfoText();
}

void TNimboMainForm::StartVersionCheck() {
    if (!VersionCheckPossible(m_servers)) return;
    if (m_versionSlot->Running()) return;
    // Once per run.
    KillTimer(Handle(), VersionTimer);
    m_versionSlot->Start(VersionDocumentUrl(m_servers));
}

void TNimboMainForm::VersionDone(int32_t resultCode) {
    const auto bytes = m_versionSlot->Finish();
    if (!bytes || resultCode != 0) return;
    const std::string text = DecodeDocumentText(*bytes);
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
    if (m_infoForm) m_infoForm->Redraw();
}

bool TNimboMainForm::WidgetVisible() const { return IsWindowVisible(Handle()) != FALSE; }

void TNimboMainForm::ShowInfoWindow() {
    if (m_infoForm) m_infoForm->ShowInfo();
}

void TNimboMainForm::HideInfoWindow() {
    if (m_infoForm) m_infoForm->HideInfo();
}

InfoFaceInputs TNimboMainForm::InfoInputs() {
    InfoFaceInputs inputs;
    inputs.text = InformationText(m_refresh.State(), Weather(), m_widgetSettings);
    inputs.mainStoredText = m_face->Layout().informationText;
    inputs.mainInfoFont = m_face->Layout().infoTextLbl.font;
    inputs.settings = m_widgetSettings;
    inputs.connection = m_refresh.State();
    return inputs;
}

void TNimboMainForm::TakeInfoOffset() {
    if (!m_infoForm) return;
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    const POINT info = m_infoForm->Position();
    m_infoOffset = {info.x - rect.left, info.y - rect.top};
}

void TNimboMainForm::FollowWithInfoWindow() {
    if (!m_infoForm || !m_infoForm->Handle()) return;
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    SetWindowPos(m_infoForm->Handle(), nullptr, rect.left + m_infoOffset.x, rect.top + m_infoOffset.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TNimboMainForm::SetTrayHint(const std::string& hint) {
    if (m_tray) (*m_tray)->SetHint(hint);
}

// --- actions -------------------------------------------------------------------------------------------

void TNimboMainForm::ExecuteAction(ActionId action) {
    switch (action) {
        case ActionId::Exit:
            // Posted: the command may come from inside the tray icon's own handler (its menu).
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
            break;
        case ActionId::ToggleInfoWindow:
            SetShowInfo(!m_widgetSettings.showInfoText);
            break;
        case ActionId::Options:
            OpenOptions(-1);
            break;
        case ActionId::AddPlace:
            OpenOptions(kOptionsPagePlaces);
            break;
        case ActionId::Hide:
            HideActionExecute();
            break;
        case ActionId::Show:
            ShowActionExecute();
            break;
        case ActionId::Refresh:
            m_refresh.Refresh();
            break;
        case ActionId::About:
            if (m_aboutForm) m_aboutForm->ShowAbout(m_fullAlpha);
            break;
        case ActionId::ShowSmallView:
            SetViewStyle(0);
            break;
        case ActionId::ShowMediumView:
            SetViewStyle(1);
            break;
        case ActionId::ShowLargeView:
            SetViewStyle(2);
            break;
        case ActionId::ToggleHibernation:
            HibernateActionExecute();
            break;
        case ActionId::RenewAddress:
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
        if (m_widgetSettings.showInfoText)
            ShowInfoWindow();
        else
            HideInfoWindow();
    };
    nimbo::OpenOptions(form);
}

void TNimboMainForm::SetShowInfo(bool on) {
    m_widgetSettings.showInfoText = on;
    if (on) {
        ShowInfoWindow();
    } else {
        HideInfoWindow();
    }
    Write(m_settings, settings::kShowInfoText, on);
    m_settings.UpdateFile();
    ApplyActionStates();
}

void TNimboMainForm::SetViewStyle(uint8_t style) {
    m_viewStyle = style;
    m_widgetSettings.viewStyle = style;
    if (!m_face->ChangeViewStyle(ViewStyleOf(style), CurrentFaceInputs())) ComposeFace();
    ApplyActionStates();
}

void TNimboMainForm::ShowActionExecute() {
    SetForegroundWindow(Handle());
    ShowWidget();
    if (m_widgetSettings.showInfoText) ShowInfoWindow();
}

void TNimboMainForm::HideActionExecute() {
    HideWidget();
    HideInfoWindow();
}

void TNimboMainForm::FetchIPActionExecute() {
    // With no address server the line would say it is being renewed for ever.
    if (!AddressLookupPossible(m_servers)) return;
    Weather().IPAddress = kAddressPending;
    RebuildInfoText();
    StartAddressLookup();
}

// --- window --------------------------------------------------------------------------------------------

void TNimboMainForm::ShowWidget() { ShowFaded(m_fullAlpha, m_widgetSettings.fadeEffect); }

void TNimboMainForm::HideWidget() { HideFaded(m_widgetSettings.fadeEffect); }

void TNimboMainForm::CloseWidget() {
    HideInfoWindow();
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
    HideInfoWindow();
    HideWidget();
    SaveWidgetSettings();
}

void TNimboMainForm::ApplicationDeactivate() {
    m_faceActive = false;
    ComposeFace();
}

bool TNimboMainForm::OnMouseDown(MouseButton button, POINT client) {
    const bool leftButton = button == MouseButton::Left;
    // The face's buttons are drawn, and so can be pressed, only while the face is active.
    if (leftButton && m_faceActive && PressFaceButton(client)) return true;
    TakeInfoOffset();
    if (!m_faceActive) {
        m_faceActive = true;
        SetTopMost(m_widgetSettings.alwaysTop);
        ComposeFace();
    }
    if (!leftButton) return false;  // the right button's default processing asks for the context menu
    DragMove();
    // The window's rectangle is its position; the face is drawn again where it was dropped.
    ComposeFace();
    return true;
}

bool TNimboMainForm::PressFaceButton(POINT point) {
    const FaceLayout& layout = m_face->Layout();
    const std::pair<const Placeholder*, ActionId> buttons[] = {
        {&layout.exitBtn, ActionId::Exit}, {&layout.hideBtn, ActionId::Hide}, {&layout.optionsBtn, ActionId::Options}};
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
    SetHints(MainFaceHints(m_face->Layout()));
    ApplyActionStates();
}

// --- hibernation and favourites ------------------------------------------------------------------------

void TNimboMainForm::HibernateActionExecute() {
    if (m_hibernateDialogOpen) return;
    m_hibernating = !m_hibernating;
    const bool fade = m_widgetSettings.fadeEffect;
    if (m_hibernating) {
        const bool clickThrough = (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
        if (!clickThrough) {
            if (Read(m_settings, settings::kHibernateAlert)) {
                m_hibernateDialogOpen = true;
                try {
                    THibernateForm(m_settings).ShowModal(Handle());
                } catch (...) {
                    m_hibernateDialogOpen = false;
                    throw;
                }
                m_hibernateDialogOpen = false;
            }
            m_fullAlpha = kHibernateAlpha;
            SetTimer(Handle(), MouseTimer, kMouseTimerMs, nullptr);
        }
        SetHibernating(true, m_fullAlpha, fade);
    } else if (SavedExStyle() != 0) {
        KillTimer(Handle(), MouseTimer);
        m_fullAlpha = kFullAlpha;
        SetHibernating(false, m_fullAlpha, fade);
    }
    if (m_infoForm) m_infoForm->Hibernate(m_hibernating);
    ApplyActionStates();
}

void TNimboMainForm::OnHibernationWakeTick() {
    // Asked of the whole system: the widget lets the mouse through, so no key message reaches it.
    if (GetAsyncKeyState(VK_CONTROL) >= 0) return;
    POINT cursor{};
    RECT rect{};
    if (GetCursorPos(&cursor) && GetWindowRect(Handle(), &rect) && PtInRect(&rect, cursor)) HibernateActionExecute();
}

void TNimboMainForm::FillFavoritesMenu(HMENU submenu) {
    if (!submenu || (submenu != FirstSubmenu(m_shortPopup.Get()) &&
                     submenu != FirstSubmenu(m_trayPopup ? m_trayPopup->Menu() : nullptr))) {
        return;
    }
    while (GetMenuItemCount(submenu) > 0) DeleteMenu(submenu, 0, MF_BYPOSITION);
    m_favoriteMenuList = FavoriteMenuList(m_settings.ReadSectionValues(settings::kFavoritesSection));
    if (m_favoriteMenuList.empty()) {
        AppendMenuW(submenu, MF_STRING | MF_GRAYED, 0, Widen(kEmptyFavoritesCaption).c_str());
        return;
    }
    for (size_t i = 0; i < m_favoriteMenuList.size(); ++i) {
        AppendMenuW(submenu, MF_STRING, kFavoriteCommandBase + i,
                    Widen(MenuCaptionOf(FavoriteName(m_favoriteMenuList[i]))).c_str());
    }
}

void TNimboMainForm::PickFavorite(size_t index) {
    if (m_refresh.State() == ConnectionState::Outstanding) return;
    const std::string code =
        m_settings.ReadString(settings::kFavoritesSection, FavoriteName(m_favoriteMenuList[index]), "");
    if (code.empty()) return;
    Weather().CityID = code;
    m_refresh.StartWeatherDownload();
}

}  // namespace nimbo
