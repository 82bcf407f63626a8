// The widget's flows: start and stop, the refresh cycle, the address and version requests, the actions,
// favourites, hibernation, the options dialog, and what is saved.
#include "widget/widget_controller.h"

#include <optional>
#include <utility>

#include "service/forecast/known_places.h"
#include "widget/address_lookup.h"
#include "widget/document_text.h"
#include "widget/face/hijri_calendar.h"
#include "widget/face/value_format.h"
#include "widget/face/weather_age.h"
#include "widget/favorites_menu.h"
#include "widget/settings_keys.h"
#include "widget/version_check.h"
#include "widget/weather_feed.h"

namespace nimbo {
namespace {

constexpr uint32_t kStartupDelayMs = 250;
constexpr uint32_t kVersionCheckDelayMs = 3000;
constexpr uint32_t kHibernationWakeMs = 200;
constexpr uint32_t kWeatherAgeMs = 60 * 1000;

ActionId ActionOf(FaceButton button) {
    switch (button) {
        case FaceButton::Exit:
            return ActionId::Exit;
        case FaceButton::Hide:
            return ActionId::Hide;
        default:
            return ActionId::Options;
    }
}

// The stored name, unless it is the default written without Turkish letters ("Istanbul") or none: then the name
// the program carries for the place, when it carries one.
std::string ShownPlaceName(const std::string& stored, const std::string& id) {
    if (!stored.empty() && stored != settings::kCityName.defaultValue) return stored;
    const service::KnownPlace* carried = service::FindKnownPlace(id);
    return carried ? carried->name : stored;
}

bool Contains(const ScreenRect& rect, ScreenPoint point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

WidgetController::WidgetController(WidgetView& view, SettingsFile& settings, TurkishCalendarNames calendarNames,
                                   DocumentReaders readers)
    : m_view(view),
      m_file(settings),
      m_calendarNames(std::move(calendarNames)),
      m_readers(std::move(readers)),
      m_servers(ReadServerAddresses(settings)) {}

WidgetController::~WidgetController() = default;

void WidgetController::Start() {
    // The version check runs once, 3 s after start.
    if (Read(m_file, settings::kCheckNewVersion) && VersionCheckPossible(m_servers)) {
        m_view.StartTimer(WidgetTimer::VersionCheckDelay, kVersionCheckDelayMs);
    }
    LoadSettings();
    m_weather.Unit = "c";
    ComposeFace();
    StartWeatherDownload();
    StartAddressLookup();
    SetRefreshTimer(m_settings.autoUpdate);
    // The face starts invisible; the start-up delay fades it in.
    m_view.StartTimer(WidgetTimer::StartupDelay, kStartupDelayMs);
    m_view.StartTimer(WidgetTimer::WeatherAge, kWeatherAgeMs);
    RedrawInfoWindow();
    m_view.SetTopMost(WidgetWindow::Info, m_settings.alwaysTop);
    TakeInfoOffset();
    m_started = true;
}

void WidgetController::Stop() {
    for (const WidgetTimer timer : {WidgetTimer::Refresh, WidgetTimer::StartupDelay, WidgetTimer::VersionCheckDelay,
                                    WidgetTimer::HibernationWake, WidgetTimer::WeatherAge}) {
        m_view.StopTimer(timer);
    }
    SaveSettings();
}

// --- actions and menus ---------------------------------------------------------------------------------

void WidgetController::Execute(ActionId action) {
    if (!ActionEnabled(action, m_state, m_settings.showTrayIcon, AddressLookupPossible(m_servers))) return;
    switch (action) {
        case ActionId::Exit:
            m_view.RequestClose();
            break;
        case ActionId::ToggleInfoWindow:
            SetShowInfo(!m_settings.showInfoText);
            break;
        case ActionId::Options:
            OpenOptions(-1);
            break;
        case ActionId::AddPlace:
            OpenOptions(kOptionsPlacesPage);
            break;
        case ActionId::Hide:
            HideWidget();
            HideInfoWindow();
            break;
        case ActionId::Show:
            ArrangeWindows();
            m_view.BringToFront();
            ShowWidget();
            if (m_settings.showInfoText) ShowInfoWindow();
            break;
        case ActionId::Refresh:
            Refresh();
            break;
        case ActionId::About:
            m_view.ShowAboutWindow(m_fullAlpha, m_settings.fadeEffect);
            break;
        case ActionId::ShowSmallView:
            SetViewStyle(ViewStyle::Small);
            break;
        case ActionId::ShowMediumView:
            SetViewStyle(ViewStyle::Medium);
            break;
        case ActionId::ShowLargeView:
            SetViewStyle(ViewStyle::Large);
            break;
        case ActionId::ToggleHibernation:
            ToggleHibernation();
            break;
        case ActionId::RenewAddress:
            RenewAddress();
            break;
    }
}

ActionStates WidgetController::MenuStates() const {
    return {m_state, m_settings.showTrayIcon, AddressLookupPossible(m_servers),
            CheckSources{m_settings.viewStyle, m_settings.showInfoText, m_hibernating}};
}

std::vector<std::string> WidgetController::OpenFavoritesMenu() {
    m_favoriteMenu = FavoriteMenuList(m_file.ReadSectionValues(settings::kFavoritesSection));
    std::vector<std::string> names;
    for (const std::string& line : m_favoriteMenu) names.push_back(FavoriteName(line));
    return names;
}

void WidgetController::PickFavorite(size_t index) {
    if (m_state == ConnectionState::Outstanding || index >= m_favoriteMenu.size()) return;
    const std::string code = m_file.ReadString(settings::kFavoritesSection, FavoriteName(m_favoriteMenu[index]), "");
    if (code.empty()) return;
    ChangePlace(FavoriteName(m_favoriteMenu[index]), code);
    StartWeatherDownload();
}

// --- timers and downloads ------------------------------------------------------------------------------

void WidgetController::TimerElapsed(WidgetTimer timer) {
    switch (timer) {
        case WidgetTimer::Refresh:
            // The countdown goes on: only a manual refresh or the options dialog start it again.
            if (m_state != ConnectionState::Outstanding) StartWeatherDownload();
            break;
        case WidgetTimer::StartupDelay:
            StartupDelayElapsed();
            break;
        case WidgetTimer::VersionCheckDelay:
            StartVersionCheck();
            break;
        case WidgetTimer::HibernationWake:
            HibernationWakeTick();
            break;
        case WidgetTimer::WeatherAge:
            WeatherAgeTick();
            break;
    }
}

void WidgetController::DownloadDone(DownloadKind kind, int32_t resultCode, const std::string& bytes) {
    switch (kind) {
        case DownloadKind::Weather:
            WeatherDone(resultCode, bytes);
            break;
        case DownloadKind::Address:
            AddressDone(resultCode, bytes);
            break;
        case DownloadKind::Version:
            VersionDone(resultCode, bytes);
            break;
    }
}

void WidgetController::StartWeatherDownload() {
    if (m_view.DownloadRunning(DownloadKind::Weather)) return;
    m_state = ConnectionState::Outstanding;
    // The face says it is connecting before the request goes out.
    ComposeFace();
    m_weatherFetch =
        std::make_unique<WeatherFetch>(m_servers, m_file, m_weather, FeedAddress(m_weather), m_readers.convertForecast);
    if (!m_view.StartDownload(DownloadKind::Weather, m_weatherFetch->Url())) {
        m_weatherFetch.reset();
        m_state = ConnectionState::ThreadFailed;
    }
}

void WidgetController::Refresh() {
    if (m_state == ConnectionState::Outstanding) return;
    // The next periodic refresh comes a full period after this one.
    SetRefreshTimer(false);
    StartWeatherDownload();
    SetRefreshTimer(m_settings.autoUpdate);
}

void WidgetController::SetRefreshTimer(bool enabled) {
    m_refreshTimerOn = enabled;
    if (enabled) {
        m_view.StartTimer(WidgetTimer::Refresh, m_settings.updatePeriodMs);
    } else {
        m_view.StopTimer(WidgetTimer::Refresh);
    }
}

void WidgetController::WeatherDone(int32_t resultCode, const std::string& bytes) {
    if (!m_weatherFetch) return;
    // Direct mode's look-up is followed by the forecast; the refresh stays outstanding.
    if (m_weatherFetch->Advance(resultCode, bytes)) {
        if (m_view.StartDownload(DownloadKind::Weather, m_weatherFetch->Url())) return;
        m_weatherFetch.reset();
        WeatherArrived(-1, {});
        return;
    }
    const std::unique_ptr<WeatherFetch> fetch = std::move(m_weatherFetch);
    WeatherArrived(fetch->ResultCode(), fetch->FeedBytes());
}

void WidgetController::WeatherArrived(int32_t resultCode, const std::string& bytes) {
    // The answer is read into a record of its own first: a document without weather (an error page, a
    // "City not found" feed) fails like a lost connection and the last weather stays on the face.
    WeatherData received = m_weather;
    received.FeedText = DecodeDocumentText(bytes);
    if (resultCode == 0) {
        ClearWeatherData(received);
        // A missing XML component throws here, and the refresh ends with the old weather.
        if (!received.FeedText.empty()) ParseWeatherFeed(received, *m_readers.createXml());
    }
    if (resultCode != 0 || !CarriesWeather(received)) {
        m_state = ConnectionState::Failed;
    } else {
        m_view.GrowFace(!m_dataShown && m_settings.fadeEffect, m_settings);
        // Grown, the widget may reach under the information window.
        if (!m_dataShown) ArrangeWindows();
        m_dataShown = true;
        m_state = ConnectionState::Succeeded;
        // A feed without a place name keeps the one the widget knows.
        if (received.City.empty()) received.City = m_weather.City;
        m_weather = std::move(received);
        const SystemTime today = m_view.Now();
        m_receivedAt = today;
        m_weather.DateText = GregorianDateLine(m_state, today, m_calendarNames);
        m_weather.HijriDateText = HijriDateLine(m_state, today);
    }
    RedrawBoth();
    if (m_settings.showInfoText && m_widgetVisible) ShowInfoWindow();
    UpdateTray();
}

void WidgetController::WeatherAgeTick() {
    // Past midnight "14:32" becomes "dün 14:32"; past its time the weather dims.
    if (m_drawnAgeLine == AgeLine() && m_drawnStale == WeatherStale()) return;
    RedrawBoth();
    UpdateTrayIcon();
}

void WidgetController::UpdateTray() {
    const std::string receivedAt = m_receivedAt ? ClockText(*m_receivedAt) : std::string();
    m_view.SetTrayHint(TrayHint(m_state, m_weather, receivedAt));
    UpdateTrayIcon();
}

void WidgetController::UpdateTrayIcon() {
    // Like the hint, the icon changes when a download ends, not while one runs.
    if (m_state == ConnectionState::Outstanding) return;
    m_view.SetTrayIcon(ChooseTrayIconFace(m_settings.trayTemperature, m_state, m_weather, WeatherStale()));
}

void WidgetController::StartAddressLookup() {
    if (!AddressLookupPossible(m_servers) || m_view.DownloadRunning(DownloadKind::Address)) return;
    m_view.StartDownload(DownloadKind::Address, AddressDocumentUrl(m_servers));
}

void WidgetController::RenewAddress() {
    m_weather.IPAddress = kAddressPending;
    RedrawInfoWindow();
    StartAddressLookup();
}

void WidgetController::AddressDone(int32_t resultCode, const std::string& bytes) {
    const std::string text = resultCode == 0 ? DecodeDocumentText(bytes) : std::string();
    if (!text.empty()) {
        if (auto address = ReadPublicAddress(*m_readers.createXml(), text)) m_weather.IPAddress = *address;
    }
    RedrawInfoWindow();
}

void WidgetController::StartVersionCheck() {
    if (!VersionCheckPossible(m_servers) || m_view.DownloadRunning(DownloadKind::Version)) return;
    // Once per run.
    m_view.StopTimer(WidgetTimer::VersionCheckDelay);
    m_view.StartDownload(DownloadKind::Version, VersionDocumentUrl(m_servers));
}

void WidgetController::VersionDone(int32_t resultCode, const std::string& bytes) {
    if (resultCode != 0) return;
    const std::string text = DecodeDocumentText(bytes);
    if (text.empty()) return;
    const std::string latest = ReadLatestVersion(*m_readers.createXml(), text);
    if (latest.empty() || !IsNewerVersion(latest)) return;
    m_view.OfferNewVersion(latest, DownloadPageUrl(m_servers));
}

// --- settings ------------------------------------------------------------------------------------------

void WidgetController::LoadSettings() {
    const LoadedWidgetSettings loaded = ReadWidgetSettings(m_file);
    m_settings = loaded.settings;
    // Without an address server (direct mode) there is no address to show: the line would wait for ever.
    if (!AddressLookupPossible(m_servers)) m_settings.showIP = false;
    m_view.MoveTo(WidgetWindow::Main, loaded.left, loaded.top);
    ChangePlace(ShownPlaceName(loaded.cityName, loaded.cityId), loaded.cityId);
    m_view.SetFaceStyle(ViewStyleOf(m_settings.viewStyle), loaded.tempFontName, loaded.cityFontName);
    // A new period counts from now; whether the timer runs is not changed here.
    if (m_refreshTimerOn) SetRefreshTimer(true);
    m_view.SetTrayIconVisible(m_settings.showTrayIcon);
    m_view.SetTopMost(WidgetWindow::Main, m_settings.alwaysTop);
    // Read once: afterwards the information window knows where it stands.
    if (!m_started) m_view.MoveTo(WidgetWindow::Info, loaded.infoTextLeft, loaded.infoTextTop);
    // Saved past the screen's edge, on a monitor that is gone, or one over the other.
    ArrangeWindows();
}

void WidgetController::ChangePlace(const std::string& name, const std::string& id) {
    // Another place's weather must not show under the new name, not even while its first download fails.
    if (id != m_weather.CityID) ClearWeatherData(m_weather);
    m_weather.City = name;
    m_weather.CityID = id;
}

SavedWidgetState WidgetController::SavedState() const {
    SavedWidgetState state;
    state.viewStyle = m_settings.viewStyle;
    const ScreenRect widget = m_view.WindowRect(WidgetWindow::Main);
    state.left = widget.left;
    state.top = widget.top;
    state.cityName = m_weather.City;
    state.cityId = m_weather.CityID;
    const ScreenRect info = m_view.WindowRect(WidgetWindow::Info);
    state.infoTextLeft = info.left;
    state.infoTextTop = info.top;
    state.showInfoText = m_settings.showInfoText;
    // Closed before the start-up delay hibernated it again, the widget still means to hibernate next time.
    state.hibernate = m_hibernating || (m_settings.hibernate && !m_loaded);
    return state;
}

void WidgetController::SaveSettings() { SaveWidgetSettings(m_file, SavedState(), m_settings); }

void WidgetController::OpenOptions(int page) {
    // The dialog sees the widget's current state, and no refresh runs while it is open. The timer comes back
    // as General/AutoUpdate says even when a step throws (a refused save of a read-only settings file).
    SetRefreshTimer(false);
    try {
        SaveSettings();
        const OptionsOutcome outcome = m_view.RunOptionsDialog(page, m_servers);
        if (!outcome.confirmed) {
            ComposeFace();
        } else {
            LoadSettings();
            UpdateTrayIcon();
            if (outcome.locationChanged) {
                StartWeatherDownload();
            } else {
                ComposeFace();
            }
            RedrawInfoWindow();
            if (m_settings.showInfoText) {
                ShowInfoWindow();
            } else {
                HideInfoWindow();
            }
        }
    } catch (...) {
        SetRefreshTimer(m_settings.autoUpdate);
        throw;
    }
    SetRefreshTimer(m_settings.autoUpdate);
}

// --- windows -------------------------------------------------------------------------------------------

void WidgetController::StartupDelayElapsed() {
    m_view.StopTimer(WidgetTimer::StartupDelay);
    m_loaded = true;
    ShowWidget();
    // A feed that came before the widget showed could not show the information window yet.
    if (m_settings.showInfoText && m_dataShown) ShowInfoWindow();
    if (m_settings.firstUsage) m_view.ShowTrayBalloon(kWelcomeBalloon);
    // The check mark shows only once the widget really hibernates again.
    if (m_settings.hibernate) ToggleHibernation();
}

void WidgetController::ShowWidget() {
    m_widgetVisible = true;
    m_view.Show(WidgetWindow::Main, m_fullAlpha, m_settings.fadeEffect);
}

void WidgetController::HideWidget() {
    m_view.Hide(WidgetWindow::Main, m_settings.fadeEffect);
    m_widgetVisible = false;
}

void WidgetController::ShowInfoWindow() { m_view.Show(WidgetWindow::Info, m_fullAlpha, m_settings.fadeEffect); }

void WidgetController::HideInfoWindow() { m_view.Hide(WidgetWindow::Info, m_settings.fadeEffect); }

void WidgetController::SetShowInfo(bool on) {
    m_settings.showInfoText = on;
    if (on) {
        ShowInfoWindow();
    } else {
        HideInfoWindow();
    }
    Write(m_file, settings::kShowInfoText, on);
    m_file.UpdateFile();
}

void WidgetController::InfoWindowClosed() { SetShowInfo(false); }

void WidgetController::SetViewStyle(ViewStyle style) {
    m_settings.viewStyle = static_cast<uint8_t>(style);
    if (!m_view.ChangeViewStyle(style, CurrentFaceInputs(CurrentInformationText()))) ComposeFace();
}

void WidgetController::ToggleHibernation() {
    if (m_hibernateDialogOpen) return;
    m_hibernating = !m_hibernating;
    if (m_hibernating) {
        if (Read(m_file, settings::kHibernateAlert)) {
            // The dialog's modal loop may deliver another toggle meanwhile; it is ignored.
            m_hibernateDialogOpen = true;
            std::optional<bool> dontShowAgain;
            try {
                dontShowAgain = m_view.RunHibernateDialog();
            } catch (...) {
                m_hibernateDialogOpen = false;
                throw;
            }
            m_hibernateDialogOpen = false;
            if (dontShowAgain) {
                Write(m_file, settings::kHibernateAlert, !*dontShowAgain);
                m_file.UpdateFile();
            }
        }
        m_fullAlpha = kHibernateAlpha;
        m_view.StartTimer(WidgetTimer::HibernationWake, kHibernationWakeMs);
    } else {
        m_view.StopTimer(WidgetTimer::HibernationWake);
        m_fullAlpha = kFullAlpha;
    }
    for (const WidgetWindow window : {WidgetWindow::Main, WidgetWindow::Info}) {
        m_view.SetHibernating(window, m_hibernating, m_fullAlpha, m_settings.fadeEffect);
    }
}

void WidgetController::HibernationWakeTick() {
    // Asked of the whole system: the widget lets the mouse through, so no key message reaches it.
    if (!m_view.ControlKeyDown()) return;
    if (Contains(m_view.WindowRect(WidgetWindow::Main), m_view.CursorPosition())) ToggleHibernation();
}

bool WidgetController::WidgetPressed(bool leftButton, FaceButton button, ScreenPoint at) {
    TakeInfoOffset();
    // The face's buttons are drawn, and so can be clicked, only while the face is active.
    const FaceButton shown = m_faceActive ? button : FaceButton::None;
    if (!m_faceActive) {
        m_faceActive = true;
        m_view.SetTopMost(WidgetWindow::Main, m_settings.alwaysTop);
        ComposeFace();
    }
    // The right button's default processing asks for the context menu.
    if (!leftButton) return false;
    const ScreenRect widget = m_view.WindowRect(WidgetWindow::Main);
    m_press.Press(shown, at, {widget.left, widget.top});
    m_view.CaptureMouse(true);
    return true;
}

bool WidgetController::WidgetDoubleClicked(FaceButton button, ScreenPoint at) {
    Refresh();
    return WidgetPressed(true, button, at);
}

void WidgetController::WidgetMouseMoved(ScreenPoint at, bool leftButtonHeld) {
    // Wine may take the mouse from the window while the button is held, and the release then goes elsewhere.
    if (!leftButtonHeld) {
        m_press.Cancel();
        return;
    }
    if (const auto corner = m_press.Move(at, m_view.DragThreshold())) {
        m_view.MoveTo(WidgetWindow::Main, corner->x, corner->y);
    }
}

void WidgetController::WidgetReleased(FaceButton button) {
    if (!m_press.Pressed()) return;
    const bool moved = m_press.Moving();
    const FaceButton clicked = m_press.Release(button);
    // Before the button runs: a dialog it opens must get the mouse.
    m_view.CaptureMouse(false);
    if (clicked != FaceButton::None) {
        Execute(ActionOf(clicked));
    } else if (moved) {
        // The face is drawn again where it was dropped.
        ComposeFace();
    }
}

void WidgetController::TakeInfoOffset() {
    const ScreenRect widget = m_view.WindowRect(WidgetWindow::Main);
    const ScreenRect info = m_view.WindowRect(WidgetWindow::Info);
    m_infoOffset = {info.left - widget.left, info.top - widget.top};
}

void WidgetController::WidgetMoved() {
    // While the settings place the windows at start, the information window takes its own stored place.
    if (!m_started) return;
    const ScreenRect widget = m_view.WindowRect(WidgetWindow::Main);
    m_view.MoveTo(WidgetWindow::Info, widget.left + m_infoOffset.x, widget.top + m_infoOffset.y);
}

void WidgetController::ArrangeWindows() {
    const std::vector<ScreenRect> workAreas = m_view.WorkAreas();
    const ScreenRect widget = m_view.WindowRect(WidgetWindow::Main);
    const ScreenRect placed = KeepOnScreen(widget, workAreas);
    // The information window goes along, as when dragged.
    if (!(placed == widget)) m_view.MoveTo(WidgetWindow::Main, placed.left, placed.top);
    const ScreenRect info = m_view.WindowRect(WidgetWindow::Info);
    const ScreenRect placedInfo = PlaceBeside(KeepOnScreen(info, workAreas), placed, workAreas);
    if (!(placedInfo == info)) m_view.MoveTo(WidgetWindow::Info, placedInfo.left, placedInfo.top);
    TakeInfoOffset();
}

void WidgetController::Deactivated() {
    m_faceActive = false;
    ComposeFace();
}

void WidgetController::DisplayChanged() {
    // A monitor may have gone with the widget on it, and the tray's icon may have another size.
    ArrangeWindows();
    UpdateTrayIcon();
}

void WidgetController::ScaleChanged() {
    RedrawBoth();
    // The tray asks for its icon at the new scale too.
    UpdateTrayIcon();
}

void WidgetController::ShowRequested() {
    ArrangeWindows();
    if (!m_widgetVisible) {
        ShowWidget();
        if (m_settings.showInfoText) ShowInfoWindow();
    }
    m_view.BringToFront();
}

void WidgetController::CloseRequested() {
    HideInfoWindow();
    HideWidget();
    m_view.DestroyWidget();
}

void WidgetController::SessionEnding() {
    HideInfoWindow();
    HideWidget();
    SaveSettings();
}

// --- drawing -------------------------------------------------------------------------------------------

std::string WidgetController::CurrentInformationText() const {
    std::string text = InformationText(m_state, m_weather, m_settings);
    const std::string age = AgeLine();
    if (!age.empty()) text += (text.empty() ? "" : "\r\n") + age;
    return text;
}

std::string WidgetController::AgeLine() const {
    if (!m_receivedAt || !CarriesWeather(m_weather)) return {};
    return LastUpdateLine(*m_receivedAt, m_view.Now(), m_calendarNames);
}

bool WidgetController::WeatherStale() const {
    return m_receivedAt && CarriesWeather(m_weather) && IsStale(*m_receivedAt, m_view.Now(), m_settings);
}

FaceInputs WidgetController::CurrentFaceInputs(const std::string& informationText) const {
    FaceInputs inputs{m_weather,    m_settings,     m_state, m_faceActive, m_settings.showTrayIcon,
                      m_view.Now(), informationText};
    inputs.stale = WeatherStale();
    return inputs;
}

InfoFaceInputs WidgetController::CurrentInfoInputs(const std::string& informationText) const {
    InfoFaceInputs inputs;
    inputs.text = informationText;
    inputs.settings = m_settings;
    inputs.connection = m_state;
    return inputs;
}

void WidgetController::ComposeFace() { m_view.ComposeFace(CurrentFaceInputs(CurrentInformationText())); }

void WidgetController::RedrawInfoWindow() { m_view.DrawInfoWindow(CurrentInfoInputs(CurrentInformationText())); }

void WidgetController::RedrawBoth() {
    const std::string text = CurrentInformationText();
    m_drawnAgeLine = AgeLine();
    m_drawnStale = WeatherStale();
    m_view.ComposeFace(CurrentFaceInputs(text));
    m_view.DrawInfoWindow(CurrentInfoInputs(text));
}

}  // namespace nimbo
