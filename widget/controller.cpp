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
        {ActionId::ExitAction, "ExitAction", "&Kapat", "Kapat"},
        {ActionId::ShowInfoAction, "ShowInfoAction", "&Bilgi Ekranı", ""},
        {ActionId::OptionsAction, "OptionsAction", "&Ayarlar...", "Özellestirmek için tiklatin..."},
        {ActionId::HideAction, "HideAction", "Gi&zle", "Gizle"},
        {ActionId::ShowAction, "ShowAction", "&Göster", ""},
        {ActionId::RefreshAction, "RefreshAction", "&Tazele", ""},
        {ActionId::AboutAction, "AboutAction", "&Nimbo! Hakkında...", ""},
        {ActionId::AddLocAction, "AddLocAction", "&Yeni Yer Ekle...", ""},
        {ActionId::MiniAction, "MiniAction", "Küçük", ""},
        {ActionId::MidiAction, "MidiAction", "Orta", ""},
        {ActionId::MaxiAction, "MaxiAction", "Büyük", ""},
        {ActionId::HibernateAction, "HibernateAction", "Kış Uykusu", ""},
        {ActionId::FetchIPAction, "FetchIPAction", "IP Adresini Yinele", ""},
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

MenuEntry Item(ActionId action) { return {MenuEntry::Kind::Action, action, SubmenuId::FavoritesMenu, nullptr}; }
MenuEntry Separator() { return {MenuEntry::Kind::Separator, ActionId::ExitAction, SubmenuId::FavoritesMenu, nullptr}; }
MenuEntry Submenu(SubmenuId submenu, const char* caption) {
    return {MenuEntry::Kind::Submenu, ActionId::ExitAction, submenu, caption};
}

// The part both menus share, from the top down to the favourites.
std::vector<MenuEntry> CommonEntries() {
    return {Item(ActionId::AboutAction),     Separator(),
            Item(ActionId::AddLocAction),    Item(ActionId::RefreshAction),
            Item(ActionId::FetchIPAction),   Item(ActionId::ShowInfoAction),
            Item(ActionId::OptionsAction),   Separator(),
            Item(ActionId::MiniAction),      Item(ActionId::MidiAction),
            Item(ActionId::MaxiAction),      Separator(),
            Item(ActionId::HibernateAction), Separator()};
}

}  // namespace

const std::vector<MenuEntry>& ShortPopupEntries() {
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> list = CommonEntries();
        list.insert(list.end(),
                    {Submenu(SubmenuId::FavoritesMenu, "&Favori Sehirlerim"), Separator(), Item(ActionId::ExitAction)});
        return list;
    }();
    return entries;
}

const std::vector<MenuEntry>& TrayPopupEntries() {
    static const std::vector<MenuEntry> entries = [] {
        std::vector<MenuEntry> list = CommonEntries();
        list.insert(list.end(),
                    {Submenu(SubmenuId::TrayFavoritesMenu, "Favori Sehirlerim"), Separator(),
                     Item(ActionId::ShowAction), Item(ActionId::HideAction), Separator(), Item(ActionId::ExitAction)});
        return list;
    }();
    return entries;
}

bool ActionEnabled(ActionId action, ConnectionState state, bool trayIconVisible) {
    const bool downloading = state == ConnectionState::Outstanding;
    switch (action) {
        case ActionId::OptionsAction:
        case ActionId::ExitAction:
        case ActionId::RefreshAction:
        case ActionId::AddLocAction:
            return !downloading;
        case ActionId::HideAction:
            return !downloading && trayIconVisible;
        default:
            return true;
    }
}

bool ActionChecked(ActionId action, const CheckSources& sources) {
    switch (action) {
        case ActionId::MiniAction:
            return sources.viewStyle == 0;
        case ActionId::MidiAction:
            return sources.viewStyle == 1;
        case ActionId::MaxiAction:
            return sources.viewStyle == 2;
        case ActionId::ShowInfoAction:
            return sources.showInfoText;
        case ActionId::HibernateAction:
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
