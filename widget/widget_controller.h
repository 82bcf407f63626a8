// WidgetController: what the widget does. It owns the settings, the servers and the weather, runs the refresh
// cycle and the address and version requests, the actions, favourites, hibernation and the options dialog, and
// tells its view what to show. It never touches Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "widget/actions.h"
#include "widget/connection_state.h"
#include "widget/direct_feed.h"
#include "widget/face/turkish_calendar.h"
#include "widget/server_config.h"
#include "widget/settings_file.h"
#include "widget/weather_data.h"
#include "widget/weather_source.h"
#include "widget/widget_press.h"
#include "widget/widget_settings.h"
#include "widget/widget_view.h"
#include "widget/xml_document.h"

namespace nimbo {

// The tray icon's welcome balloon, shown at the first start.
inline constexpr char kWelcomeBalloon[] =
    "Nimbo! çalışıyor! Hemen bulunduğunuz ili seçin ve\r\ntam beş günlük Hava durumunu öğrenin. Bunun için ana "
    "pencerede farenin sağ tuşuna basmanız yeterli. Hem dahası da var...";
// The options dialog's places page, which AddPlace opens on.
inline constexpr int kOptionsPlacesPage = 2;

// What the controller reads documents and forecasts with; tests put in their own.
struct DocumentReaders {
    std::function<std::unique_ptr<XmlDocument>()> createXml = CreateXmlDocument;
    // Direct mode: Open-Meteo's forecast into the feed's text.
    FeedConversion convertForecast = DirectFeedConversion();
};

// What the menus show for the actions.
struct ActionStates {
    ConnectionState connection = ConnectionState::Succeeded;
    bool trayIconVisible = true;
    bool addressServer = true;
    CheckSources checks;
};

class WidgetController {
public:
    // `settings` is the settings file, which must outlive the controller; the servers are read from it at once.
    WidgetController(WidgetView& view, SettingsFile& settings, TurkishCalendarNames calendarNames,
                     DocumentReaders readers = {});
    ~WidgetController();
    WidgetController(const WidgetController&) = delete;
    WidgetController& operator=(const WidgetController&) = delete;

    // Once the windows exist: loads the settings, draws the face, starts the first downloads and the timers.
    void Start();
    // The window is being destroyed: the timers stop and the widget's state is saved (a refused write throws).
    void Stop();

    // A user command from a menu, the tray or a face button; one that is unavailable now does nothing.
    void Execute(ActionId action);
    // A favourites submenu opens: the places' names, in the menu's order.
    std::vector<std::string> OpenFavoritesMenu();
    // The item at `index` of the favourites submenu opened last.
    void PickFavorite(size_t index);
    ActionStates MenuStates() const;

    void TimerElapsed(WidgetTimer timer);
    // A download of `kind` ended with `resultCode` (0 or -1) and its bytes; its thread is already freed.
    void DownloadDone(DownloadKind kind, int32_t resultCode, const std::string& bytes);

    // Mouse and window events of the main window, `at` in screen pixels. A press returns false when the default
    // processing should follow (the right button's context menu). A face button runs when it is clicked (pressed
    // and released without a move); the widget moves only when the mouse moves with the left button held.
    bool WidgetPressed(bool leftButton, FaceButton button, ScreenPoint at);
    bool WidgetDoubleClicked(FaceButton button, ScreenPoint at);
    // The mouse moved over the widget, or anywhere while the widget has it; without the left button held, a press
    // whose release went elsewhere ends.
    void WidgetMouseMoved(ScreenPoint at, bool leftButtonHeld);
    // The left button came up over `button` (None off the face's buttons).
    void WidgetReleased(FaceButton button);
    void WidgetMoved();
    void Deactivated();
    void DisplayChanged();
    // The main window moved to a monitor of another scale: both faces are drawn again.
    void ScaleChanged();
    // WM_WIDGET_SHOW from a second start.
    void ShowRequested();
    // The window is asked to close (ExitAction, WM_WIDGET_CLOSE): the windows fade out, then the widget ends.
    void CloseRequested();
    // Windows ends the session.
    void SessionEnding();
    // The information window's close button.
    void InfoWindowClosed();

    const ServerAddresses& Servers() const { return m_servers; }
    ConnectionState State() const { return m_state; }
    const WeatherData& Weather() const { return m_weather; }

private:
    // The refresh cycle.
    void StartWeatherDownload();
    void Refresh();
    void WeatherDone(int32_t resultCode, const std::string& bytes);
    void WeatherArrived(int32_t resultCode, const std::string& bytes);
    void SetRefreshTimer(bool enabled);
    void WeatherAgeTick();

    // Address and version.
    void StartAddressLookup();
    void RenewAddress();
    void AddressDone(int32_t resultCode, const std::string& bytes);
    void StartVersionCheck();
    void VersionDone(int32_t resultCode, const std::string& bytes);

    // Settings.
    void LoadSettings();
    // The place shown and asked for from now on, its name and code always together.
    void ChangePlace(const std::string& name, const std::string& id);
    void SaveSettings();
    SavedWidgetState SavedState() const;
    void OpenOptions(int page);

    // Windows.
    void StartupDelayElapsed();
    void ShowWidget();
    void HideWidget();
    void ShowInfoWindow();
    void HideInfoWindow();
    void SetShowInfo(bool on);
    void SetViewStyle(ViewStyle style);
    void ToggleHibernation();
    void HibernationWakeTick();
    void TakeInfoOffset();
    // Both windows pulled onto the screen, the information window beside the widget rather than over it; a place
    // the user dragged it to is kept while it covers nothing.
    void ArrangeWindows();

    // Drawing: the information text is assembled once for what is drawn together.
    FaceInputs CurrentFaceInputs(const std::string& informationText) const;
    InfoFaceInputs CurrentInfoInputs(const std::string& informationText) const;
    std::string CurrentInformationText() const;
    // "Son güncelleme: ..." while weather is known, else empty.
    std::string AgeLine() const;
    void ComposeFace();
    void RedrawInfoWindow();
    void RedrawBoth();
    // Received weather older than its refresh allows is drawn dimmed.
    bool WeatherStale() const;
    // The tray's hint and icon, from the weather and the connection.
    void UpdateTray();
    void UpdateTrayIcon();

    WidgetView& m_view;
    SettingsFile& m_file;
    TurkishCalendarNames m_calendarNames;
    DocumentReaders m_readers;
    ServerAddresses m_servers;
    WidgetSettings m_settings;
    WeatherData m_weather;
    ConnectionState m_state = ConnectionState::Succeeded;
    bool m_dataShown = false;  // a feed has been shown
    // When the shown weather was received, by the view's clock; nothing before the first feed.
    std::optional<SystemTime> m_receivedAt;
    // The age line and staleness last drawn, so the minute's tick redraws only when they change.
    std::string m_drawnAgeLine;
    bool m_drawnStale = false;
    // One refresh's downloads: one, or in direct mode a look-up and the forecast.
    std::unique_ptr<WeatherFetch> m_weatherFetch;
    bool m_refreshTimerOn = false;
    bool m_started = false;
    bool m_loaded = false;  // the start-up delay has passed
    bool m_widgetVisible = false;
    bool m_faceActive = false;  // pressed since the application was last deactivated: the buttons show
    WidgetPress m_press;
    bool m_hibernating = false;
    bool m_hibernateDialogOpen = false;
    uint8_t m_fullAlpha = kFullAlpha;
    // Where the information window stands from the widget, taken at each press on the widget.
    ScreenPoint m_infoOffset;
    // The favourites' "name=code" lines of the submenu opened last.
    std::vector<std::string> m_favoriteMenu;
};

}  // namespace nimbo
