// The controller's menus on Windows: popup menus made from the menu tables, and the actions' states on them.
#pragma once

#include <windows.h>

#include <vector>

#include "base/unique_handle_win.h"
#include "widget/actions.h"
#include "widget/connection_state.h"

namespace nimbo {

// A popup menu of the entries whose items carry the actions' command identifiers. Captions stay as written:
// their "&" marks the access key and no other key is added. Submenus are empty until they are filled.
UniqueMenu BuildActionMenu(const std::vector<MenuEntry>& entries);

// The first submenu of `menu` (the favourites of both menus), or null.
HMENU FirstSubmenu(HMENU menu);

// Greys and checks every action item of `menu` as the state says.
void ApplyActionStates(HMENU menu, ConnectionState state, bool trayIconVisible, bool addressServer,
                       const CheckSources& checks);

}  // namespace nimbo
