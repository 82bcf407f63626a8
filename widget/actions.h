// The widget's actions: their commands and captions, the two menus, and when each is available or checked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "widget/connection_state.h"

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
// widget, hiding needs the tray icon to bring the widget back, and renewing the address an address server.
bool ActionEnabled(ActionId action, ConnectionState state, bool trayIconVisible, bool addressServer);

// What the check marks follow.
struct CheckSources {
    uint8_t viewStyle = 2;  // a style other than 0, 1 or 2 checks none of the three
    bool showInfoText = true;
    bool hibernating = false;
};
bool ActionChecked(ActionId action, const CheckSources& sources);

}  // namespace nimbo
