// The controller's menus as Windows holds them: items, identifiers, captions, submenus, grey and checked states.
#include "widget/action_menu_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/wide_text_win.h"

namespace nimbo::testing {
namespace {

using ::testing::ElementsAre;

// One line per item: its caption as Windows keeps it, "-" for a separator, "[caption]" for a submenu, with
// the identifier after "#" for a command.
std::vector<std::string> Items(HMENU menu) {
    std::vector<std::string> lines;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            lines.push_back("-");
        } else if (info.hSubMenu) {
            lines.push_back("[" + Narrow(text) + "] " + std::to_string(GetMenuItemCount(info.hSubMenu)));
        } else {
            lines.push_back(Narrow(text) + " #" + std::to_string(info.wID));
        }
    }
    return lines;
}

TEST(ActionMenuWinTest, TheTrayMenuCarriesCaptionsAsWrittenIdentifiersAndAnEmptyFavouritesSubmenu) {
    const UniqueMenu menu = BuildActionMenu(TrayMenuEntries());
    ASSERT_TRUE(menu);
    EXPECT_THAT(Items(menu.Get()),
                ElementsAre("&Nimbo! Hakkında... #107", "-", "&Yeni Yer Ekle... #108", "&Tazele #106",
                            "IP Adresini Yinele #113", "&Bilgi Ekranı #102", "&Ayarlar... #103", "-", "Küçük #109",
                            "Orta #110", "Büyük #111", "-", "Kış Uykusu #112", "-", "[Favori Sehirlerim] 0", "-",
                            "&Göster #105", "Gi&zle #104", "-", "&Kapat #101"));
    const UniqueMenu shortPopup = BuildActionMenu(WidgetMenuEntries());
    EXPECT_EQ(Items(shortPopup.Get())[14], "[&Favori Sehirlerim] 0");
    EXPECT_EQ(Items(shortPopup.Get()).back(), "&Kapat #101");
}

TEST(ActionMenuWinTest, StatesGreyTheBlockedActionsAndCheckTheChosenOnes) {
    const UniqueMenu menu = BuildActionMenu(TrayMenuEntries());
    const auto state = [&](ActionId id) { return GetMenuState(menu.Get(), static_cast<UINT>(id), MF_BYCOMMAND); };

    ApplyActionStates(menu.Get(), ConnectionState::Outstanding, true, true, {1, true, false});
    for (ActionId id : {ActionId::Options, ActionId::Exit, ActionId::Refresh, ActionId::AddPlace, ActionId::Hide}) {
        EXPECT_TRUE(state(id) & MF_GRAYED) << static_cast<int>(id);
    }
    EXPECT_FALSE(state(ActionId::Show) & MF_GRAYED);
    EXPECT_FALSE(state(ActionId::RenewAddress) & MF_GRAYED);
    EXPECT_TRUE(state(ActionId::ShowMediumView) & MF_CHECKED);
    EXPECT_TRUE(state(ActionId::ToggleInfoWindow) & MF_CHECKED);
    EXPECT_FALSE(state(ActionId::ShowLargeView) & MF_CHECKED);

    // The next state replaces the last one entirely.
    ApplyActionStates(menu.Get(), ConnectionState::Failed, false, false, {2, false, true});
    EXPECT_FALSE(state(ActionId::Exit) & MF_GRAYED);
    EXPECT_TRUE(state(ActionId::RenewAddress) & MF_GRAYED);
    EXPECT_TRUE(state(ActionId::Hide) & MF_GRAYED);
    EXPECT_FALSE(state(ActionId::ShowMediumView) & MF_CHECKED);
    EXPECT_TRUE(state(ActionId::ShowLargeView) & MF_CHECKED);
    EXPECT_FALSE(state(ActionId::ToggleInfoWindow) & MF_CHECKED);
    EXPECT_TRUE(state(ActionId::ToggleHibernation) & MF_CHECKED);
}

}  // namespace
}  // namespace nimbo::testing
