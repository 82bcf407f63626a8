// The widget's actions, its two menus, what is enabled when, and the refresh cycle of the weather feed.
#include "widget/controller.h"

#include <utility>

#include "widget/document_text.h"
#include "widget/face/hijri_calendar.h"
#include "widget/face/value_format.h"
#include "widget/weather_feed.h"

namespace nimbo {

const std::array<ActionInfo, kActionCount>& Actions() {
    static const std::array<ActionInfo, kActionCount> actions{{
        {ActionId::Exit, "Exit", "&Kapat", "Kapat"},
        {ActionId::ToggleInfoWindow, "ToggleInfoWindow", "&Bilgi Ekranı", ""},
        {ActionId::Options, "Options", "&Ayarlar...", "Özellestirmek için tiklatin..."},
        {ActionId::Hide, "Hide", "Gi&zle", "Gizle"},
        {ActionId::Show, "Show", "&Göster", ""},
        {ActionId::Refresh, "Refresh", "&Tazele", ""},
        {ActionId::About, "About", "&Nimbo! Hakkında...", ""},
        {ActionId::AddPlace, "AddPlace", "&Yeni Yer Ekle...", ""},
        {ActionId::ShowSmallView, "ShowSmallView", "Küçük", ""},
        {ActionId::ShowMediumView, "ShowMediumView", "Orta", ""},
        {ActionId::ShowLargeView, "ShowLargeView", "Büyük", ""},
        {ActionId::ToggleHibernation, "ToggleHibernation", "Kış Uykusu", ""},
        {ActionId::RenewAddress, "RenewAddress", "IP Adresini Yinele", ""},
    }};
    return actions;
}

const ActionInfo* FindAction(uint32_t commandId) {
    for (const ActionInfo& action : Actions()) {
        if (static_cast<uint32_t>(action.id) == commandId) return &action;
    }
    return nullptr;
}

namespace {

MenuEntry Item(ActionId action) { return {MenuEntry::Kind::Action, action, SubmenuId::WidgetFavorites, nullptr}; }
MenuEntry Separator() { return {MenuEntry::Kind::Separator, ActionId::Exit, SubmenuId::WidgetFavorites, nullptr}; }
MenuEntry Submenu(SubmenuId submenu, const char* caption) {
    return {MenuEntry::Kind::Submenu, ActionId::Exit, submenu, caption};
}

// The part both menus share, from the top down to the favourites.
std::vector<MenuEntry> CommonEntries() {
    return {Item(ActionId::About),
            Separator(),
            Item(ActionId::AddPlace),
            Item(ActionId::Refresh),
            Item(ActionId::RenewAddress),
            Item(ActionId::ToggleInfoWindow),
            Item(ActionId::Options),
            Separator(),
            Item(ActionId::ShowSmallView),
            Item(ActionId::ShowMediumView),
            Item(ActionId::ShowLargeView),
            Separator(),
            Item(ActionId::ToggleHibernation),
            Separator()};
}

}  // namespace

const std::vector<MenuEntry>& WidgetMenuEntries() {
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> list = CommonEntries();
        list.insert(list.end(),
                    {Submenu(SubmenuId::WidgetFavorites, "&Favori Sehirlerim"), Separator(), Item(ActionId::Exit)});
        return list;
    }();
    return entries;
}

const std::vector<MenuEntry>& TrayMenuEntries() {
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> list = CommonEntries();
        list.insert(list.end(), {Submenu(SubmenuId::TrayFavorites, "Favori Sehirlerim"), Separator(),
                                 Item(ActionId::Show), Item(ActionId::Hide), Separator(), Item(ActionId::Exit)});
        return list;
    }();
    return entries;
}

bool ActionEnabled(ActionId action, ConnectionState state, bool trayIconVisible) {
    const bool downloading = state == ConnectionState::Outstanding;
    switch (action) {
        case ActionId::Options:
        case ActionId::Exit:
        case ActionId::Refresh:
        case ActionId::AddPlace:
            return !downloading;
        case ActionId::Hide:
            return !downloading && trayIconVisible;
        default:
            return true;
    }
}

bool ActionChecked(ActionId action, const CheckSources& sources) {
    switch (action) {
        case ActionId::ShowSmallView:
            return sources.viewStyle == 0;
        case ActionId::ShowMediumView:
            return sources.viewStyle == 1;
        case ActionId::ShowLargeView:
            return sources.viewStyle == 2;
        case ActionId::ToggleInfoWindow:
            return sources.showInfoText;
        case ActionId::ToggleHibernation:
            return sources.hibernating;
        default:
            return false;
    }
}

void RefreshCycle::StartWeatherDownload() {
    if (m_host.WeatherDownloadRunning()) return;
    m_state = ConnectionState::Outstanding;
    m_host.ComposeFace();
    if (!m_host.StartWeatherThread(FeedAddress(m_weather))) m_state = ConnectionState::ThreadFailed;
}

void RefreshCycle::Refresh() {
    if (m_state == ConnectionState::Outstanding) return;
    m_host.SetCheckTimerEnabled(false);
    StartWeatherDownload();
    m_host.SetCheckTimerEnabled(m_settings.autoUpdate);
}

void RefreshCycle::CheckTimerTimer() {
    if (m_state != ConnectionState::Outstanding) StartWeatherDownload();
}

void RefreshCycle::WeatherDownloadDone(int32_t resultCode, const std::string& bytes) {
    // The answer is read into a record of its own first: a document without weather (an error page, a
    // "City not found" feed) fails like a lost connection and the last weather stays on the face.
    WeatherData received = m_weather;
    received.FeedText = DecodeDocumentText(bytes);
    if (resultCode == 0) {
        ClearWeatherData(received);
        m_host.ParseWeatherFeed(received);
    }
    if (resultCode != 0 || !CarriesWeather(received)) {
        m_state = ConnectionState::Failed;
    } else {
        m_host.GrowToViewStyle(!m_dataShown && m_settings.fadeEffect);
        m_dataShown = true;
        m_state = ConnectionState::Succeeded;
        // A feed without a place name keeps the one the widget knows.
        if (received.City.empty()) received.City = m_weather.City;
        m_weather = std::move(received);
        const SystemTime today = m_host.Today();
        m_weather.DateText = GregorianDateLine(m_state, today, m_host.CalendarNames());
        m_weather.HijriDateText = HijriDateLine(m_state, today);
    }
    m_host.ComposeFace();
    m_host.RebuildInfoText();
    if (m_settings.showInfoText && m_host.WidgetVisible()) m_host.ShowInfoWindow();
    m_host.SetTrayHint(TrayHint(m_state, m_weather));
}

}  // namespace nimbo
