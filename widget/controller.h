// The widget's controller rules: actions, menus, availability and the refresh cycle of the weather feed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "widget/connection_state.h"
#include "widget/face/turkish_calendar.h"
#include "widget/system_time.h"
#include "widget/weather_data.h"
#include "widget/widget_settings.h"

namespace nimbo {

// Every user command, with its WM_COMMAND identifier. Menus, tray menu and face buttons all send these, so a
// test drives an action by posting its identifier.
enum class ActionId : uint16_t {
    Exit = 101,
    ToggleInfoWindow = 102,
    Options = 103,
    Hide = 104,
    Show = 105,
    Refresh = 106,
    About = 107,
    AddPlace = 108,
    ShowSmallView = 109,
    ShowMediumView = 110,
    ShowLargeView = 111,
    ToggleHibernation = 112,
    RenewAddress = 113,
};

struct ActionInfo {
    ActionId id;
    const char* name;
    const char* caption;  // "&" marks the access key, as written; menus add none of their own
    const char* hint;     // empty when the action has none
};

inline constexpr size_t kActionCount = 13;
const std::array<ActionInfo, kActionCount>& Actions();
// Null for an identifier that names no action (a stray WM_COMMAND).
const ActionInfo* FindAction(uint32_t commandId);

enum class SubmenuId : uint16_t { WidgetFavorites, TrayFavorites };

struct MenuEntry {
    enum class Kind { Action, Separator, Submenu };
    Kind kind;
    ActionId action;      // for Kind::Action
    SubmenuId submenu;    // for Kind::Submenu
    const char* caption;  // for Kind::Submenu
};

// The form's context menu and the tray icon's menu, top to bottom. The favourites submenus are filled
// from the settings when they open.
const std::vector<MenuEntry>& WidgetMenuEntries();
const std::vector<MenuEntry>& TrayMenuEntries();

// Whether an action can run: a download blocks the actions that would close, configure or refresh the
// widget, and hiding needs the tray icon to bring the widget back.
bool ActionEnabled(ActionId action, ConnectionState state, bool trayIconVisible);

// What the check marks follow.
struct CheckSources {
    uint8_t viewStyle = 2;  // a style other than 0, 1 or 2 checks none of the three
    bool showInfoText = true;
    bool hibernating = false;
};
bool ActionChecked(ActionId action, const CheckSources& sources);

// What the refresh cycle needs from the window, the download thread and the face.
class RefreshHost {
public:
    virtual ~RefreshHost() = default;
    // A weather download thread exists and was not told to end.
    virtual bool WeatherDownloadRunning() const = 0;
    // Frees the old thread and starts one on the feed path (FeedAddress); false when it could not be resumed,
    // and then no thread is left.
    virtual bool StartWeatherThread(const std::string& feedPath) = 0;
    virtual void SetCheckTimerEnabled(bool enabled) = 0;
    virtual void ComposeFace() = 0;
    // Brings the background to the view style's size, growing step by step when `animate`, then applies the
    // style's layout.
    virtual void GrowToViewStyle(bool animate) = 0;
    // Reads FeedText into the record; throws when the XML component cannot be created.
    virtual void ParseWeatherFeed(WeatherData& weather) = 0;
    virtual SystemTime Today() const = 0;
    virtual const TurkishCalendarNames& CalendarNames() const = 0;
    virtual void RebuildInfoText() = 0;
    virtual bool WidgetVisible() const = 0;
    virtual void ShowInfoWindow() = 0;
    virtual void SetTrayHint(const std::string& hint) = 0;
};

// The weather's refresh cycle: one feed download at a time, and what its completion changes in which order.
class RefreshCycle {
public:
    // `settings` is the form's copy and must outlive the cycle; it is read at each step, never stored.
    RefreshCycle(RefreshHost& host, const WidgetSettings& settings) : m_host(host), m_settings(settings) {}

    ConnectionState State() const { return m_state; }
    bool DataShown() const { return m_dataShown; }
    WeatherData& Weather() { return m_weather; }
    const WeatherData& Weather() const { return m_weather; }

    // Starts a feed download unless one is outstanding.
    void StartWeatherDownload();
    // A manual refresh: the next periodic one comes a full period later.
    void Refresh();
    void CheckTimerTimer();
    // The feed download ended with `resultCode` (0 or -1) and the thread's bytes; the thread is already freed.
    // A document that carries no current weather counts as a failed download.
    void WeatherDownloadDone(int32_t resultCode, const std::string& bytes);

private:
    RefreshHost& m_host;
    const WidgetSettings& m_settings;
    ConnectionState m_state = ConnectionState::Succeeded;
    bool m_dataShown = false;
    WeatherData m_weather;
};

}  // namespace nimbo
