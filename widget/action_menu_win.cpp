// Popup menus from the controller's menu tables, with each action's availability and check mark.
#include "widget/action_menu_win.h"

#include "base/wide_text_win.h"

namespace nimbo {

UniqueMenu BuildActionMenu(const std::vector<MenuEntry>& entries) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) return menu;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::Kind::Action: {
                const ActionInfo& action = *FindAction(static_cast<uint32_t>(entry.action));
                AppendMenuW(menu.Get(), MF_STRING, static_cast<UINT_PTR>(action.id), Widen(action.caption).c_str());
                break;
            }
            case MenuEntry::Kind::Separator:
                AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
                break;
            case MenuEntry::Kind::Submenu: {
                // The parent menu owns the submenu once it is appended.
                UniqueMenu submenu(CreatePopupMenu());
                if (submenu && AppendMenuW(menu.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.Get()),
                                           Widen(entry.caption).c_str())) {
                    submenu.Release();
                }
                break;
            }
        }
    }
    return menu;
}

HMENU FirstSubmenu(HMENU menu) {
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        if (const HMENU submenu = GetSubMenu(menu, i)) return submenu;
    }
    return nullptr;
}

void ApplyActionStates(HMENU menu, ConnectionState state, bool trayIconVisible, bool addressServer,
                       const CheckSources& checks) {
    for (const ActionInfo& action : Actions()) {
        const UINT id = static_cast<UINT>(action.id);
        const bool enabled = ActionEnabled(action.id, state, trayIconVisible, addressServer);
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, id, MF_BYCOMMAND | (ActionChecked(action.id, checks) ? MF_CHECKED : MF_UNCHECKED));
    }
}

}  // namespace nimbo
