// The actions' table, the two menus, availability and check marks.
#include "widget/actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace nimbo::testing {
namespace {

using ::testing::ElementsAre;

TEST(ActionTableTest, EveryActionHasItsCaptionHintAndOwnIdentifier) {
    std::set<uint32_t> ids;
    for (const ActionInfo& action : Actions()) {
        EXPECT_TRUE(ids.insert(static_cast<uint32_t>(action.id)).second) << action.name;
        EXPECT_EQ(FindAction(static_cast<uint32_t>(action.id)), &action);
    }
    EXPECT_EQ(FindAction(0), nullptr);
    EXPECT_EQ(FindAction(999), nullptr);

    struct Expected {
        ActionId id;
        const char* caption;
        const char* hint;
    };
    for (const Expected& e :
         {Expected{ActionId::Exit, "&Kapat", "Kapat"}, Expected{ActionId::ToggleInfoWindow, "&Bilgi Ekranı", ""},
          Expected{ActionId::Options, "&Ayarlar...", "Özellestirmek için tiklatin..."},
          Expected{ActionId::Hide, "Gi&zle", "Gizle"}, Expected{ActionId::Show, "&Göster", ""},
          Expected{ActionId::Refresh, "&Tazele", ""}, Expected{ActionId::About, "&Nimbo! Hakkında...", ""},
          Expected{ActionId::AddPlace, "&Yeni Yer Ekle...", ""}, Expected{ActionId::ShowSmallView, "Küçük", ""},
          Expected{ActionId::ShowMediumView, "Orta", ""}, Expected{ActionId::ShowLargeView, "Büyük", ""},
          Expected{ActionId::ToggleHibernation, "Kış Uykusu", ""},
          Expected{ActionId::RenewAddress, "IP Adresini Yinele", ""}}) {
        const ActionInfo* action = FindAction(static_cast<uint32_t>(e.id));
        ASSERT_NE(action, nullptr);
        EXPECT_STREQ(action->caption, e.caption) << action->name;
        EXPECT_STREQ(action->hint, e.hint) << action->name;
    }
}

// The menu as one line per entry: the action's name, "-" for a separator, "[caption]" for a submenu.
std::vector<std::string> Describe(const std::vector<MenuEntry>& entries) {
    std::vector<std::string> lines;
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
            case MenuEntry::Kind::Action:
                lines.push_back(FindAction(static_cast<uint32_t>(entry.action))->name);
                break;
            case MenuEntry::Kind::Separator:
                lines.push_back("-");
                break;
            case MenuEntry::Kind::Submenu:
                lines.push_back(std::string("[") + entry.caption + "]");
                break;
        }
    }
    return lines;
}

TEST(MenuTest, BothMenusListTheirEntriesInOrder) {
    EXPECT_THAT(Describe(WidgetMenuEntries()),
                ElementsAre("About", "-", "AddPlace", "Refresh", "RenewAddress", "ToggleInfoWindow", "Options", "-",
                            "ShowSmallView", "ShowMediumView", "ShowLargeView", "-", "ToggleHibernation", "-",
                            "[&Favori Sehirlerim]", "-", "Exit"));
    EXPECT_THAT(Describe(TrayMenuEntries()),
                ElementsAre("About", "-", "AddPlace", "Refresh", "RenewAddress", "ToggleInfoWindow", "Options", "-",
                            "ShowSmallView", "ShowMediumView", "ShowLargeView", "-", "ToggleHibernation", "-",
                            "[Favori Sehirlerim]", "-", "Show", "Hide", "-", "Exit"));
    EXPECT_EQ(WidgetMenuEntries()[14].submenu, SubmenuId::WidgetFavorites);
    EXPECT_EQ(TrayMenuEntries()[14].submenu, SubmenuId::TrayFavorites);
}

TEST(AvailabilityTest, ADownloadBlocksClosingConfiguringRefreshingAndHidingAndRenewingNeedsAnAddressServer) {
    const std::set<ActionId> blockedWhileDownloading{ActionId::Options, ActionId::Exit, ActionId::Refresh,
                                                     ActionId::AddPlace, ActionId::Hide};
    for (const ActionInfo& action : Actions()) {
        const bool blocked = blockedWhileDownloading.count(action.id) > 0;
        EXPECT_EQ(ActionEnabled(action.id, ConnectionState::Outstanding, true, true), !blocked) << action.name;
        for (ConnectionState state :
             {ConnectionState::Succeeded, ConnectionState::Failed, ConnectionState::ThreadFailed}) {
            EXPECT_TRUE(ActionEnabled(action.id, state, true, true)) << action.name;
            // Without the tray icon a hidden widget could not come back.
            EXPECT_EQ(ActionEnabled(action.id, state, false, true), action.id != ActionId::Hide) << action.name;
            // Direct mode without an address server has no address to renew.
            EXPECT_EQ(ActionEnabled(action.id, state, true, false), action.id != ActionId::RenewAddress) << action.name;
        }
    }
}

TEST(AvailabilityTest, CheckMarksFollowViewStyleInformationWindowAndHibernation) {
    const auto checked = [](CheckSources sources) {
        std::vector<std::string> names;
        for (const ActionInfo& action : Actions()) {
            if (ActionChecked(action.id, sources)) names.push_back(action.name);
        }
        return names;
    };
    EXPECT_THAT(checked({0, false, false}), ElementsAre("ShowSmallView"));
    EXPECT_THAT(checked({1, true, false}), ElementsAre("ToggleInfoWindow", "ShowMediumView"));
    EXPECT_THAT(checked({2, false, true}), ElementsAre("ShowLargeView", "ToggleHibernation"));
    EXPECT_THAT(checked({7, false, false}), ElementsAre());
}

}  // namespace
}  // namespace nimbo::testing
