// The widget's actions, its two menus, and what is enabled and checked when.
#include "widget/actions.h"

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

bool ActionEnabled(ActionId action, ConnectionState state, bool trayIconVisible, bool addressServer) {
    const bool downloading = state == ConnectionState::Outstanding;
    switch (action) {
        case ActionId::Options:
        case ActionId::Exit:
        case ActionId::Refresh:
        case ActionId::AddPlace:
            return !downloading;
        case ActionId::Hide:
            return !downloading && trayIconVisible;
        case ActionId::RenewAddress:
            return addressServer;
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

}  // namespace nimbo
