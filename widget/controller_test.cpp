// The controller's rules: action table, menus, availability, check marks and the refresh cycle's order.
#include "widget/controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace nimbo::testing {
namespace {

using ::testing::ElementsAre;

// Records every call as one line, so a test states the order it expects.
class FakeRefreshHost final : public RefreshHost {
public:
    bool WeatherDownloadRunning() const override { return running; }
    bool StartWeatherThread(const std::string& feedPath) override {
        log.push_back("start " + feedPath);
        running = threadStarts;
        return threadStarts;
    }
    void SetCheckTimerEnabled(bool enabled) override { log.push_back(enabled ? "timer on" : "timer off"); }
    void ComposeFace() override { log.push_back("compose " + std::to_string(static_cast<int>(cycle->State()))); }
    void GrowToViewStyle(bool animate) override { log.push_back(animate ? "grow animated" : "grow at once"); }
    void ParseWeatherFeed(WeatherData& weather) override {
        log.push_back("parse city=" + weather.City);
        if (parseThrows) throw std::runtime_error("no XML component");
        if (weather.FeedText == "City not found") return;
        weather.City = feedCity;
        weather.ConditionCode = "32";
        weather.Temperature = weather.FeedText;
    }
    SystemTime Today() const override { return today; }
    const TurkishCalendarNames& CalendarNames() const override { return BuiltInTurkishCalendarNames(); }
    void RebuildInfoText() override { log.push_back("info text"); }
    bool WidgetVisible() const override { return visible; }
    void ShowInfoWindow() override { log.push_back("show info"); }
    void SetTrayHint(const std::string& hint) override { log.push_back("hint " + hint); }

    // The thread ended: the form frees it before it hands over the result.
    void Finish(int32_t code, const std::string& text) {
        running = false;
        log.clear();
        cycle->WeatherDownloadDone(code, text);
    }

    RefreshCycle* cycle = nullptr;
    bool running = false;
    bool threadStarts = true;
    bool parseThrows = false;
    bool visible = true;
    std::string feedCity = "İstanbul";
    SystemTime today{2026, 12, 2, 8, 10, 0, 0, 0};
    std::vector<std::string> log;
};

class RefreshCycleTest : public ::testing::Test {
protected:
    RefreshCycleTest() {
        host.cycle = &cycle;
        cycle.Weather().CityID = "TUXX0014";
        cycle.Weather().City = "Istanbul";
    }

    WidgetSettings settings;
    FakeRefreshHost host;
    RefreshCycle cycle{host, settings};
};

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

TEST(AvailabilityTest, ADownloadBlocksClosingConfiguringRefreshingAndHiding) {
    const std::set<ActionId> blockedWhileDownloading{ActionId::Options, ActionId::Exit, ActionId::Refresh,
                                                     ActionId::AddPlace, ActionId::Hide};
    for (const ActionInfo& action : Actions()) {
        const bool blocked = blockedWhileDownloading.count(action.id) > 0;
        EXPECT_EQ(ActionEnabled(action.id, ConnectionState::Outstanding, true), !blocked) << action.name;
        for (ConnectionState state :
             {ConnectionState::Succeeded, ConnectionState::Failed, ConnectionState::ThreadFailed}) {
            EXPECT_TRUE(ActionEnabled(action.id, state, true)) << action.name;
            // Without the tray icon a hidden widget could not come back.
            EXPECT_EQ(ActionEnabled(action.id, state, false), action.id != ActionId::Hide) << action.name;
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

TEST_F(RefreshCycleTest, ADownloadStartsConnectingThenAsksForThePlacesFeed) {
    EXPECT_EQ(cycle.State(), ConnectionState::Succeeded);
    cycle.StartWeatherDownload();
    // The face is redrawn as connecting before the request goes out.
    EXPECT_THAT(host.log, ElementsAre("compose 1", "start /forecastrss/TUXX0014_c.xml"));
    EXPECT_EQ(cycle.State(), ConnectionState::Outstanding);
}

TEST_F(RefreshCycleTest, NoSecondRequestWhileOneIsOutstanding) {
    cycle.StartWeatherDownload();
    host.log.clear();
    cycle.StartWeatherDownload();
    cycle.Refresh();
    cycle.CheckTimerTimer();
    EXPECT_THAT(host.log, ElementsAre());
    EXPECT_EQ(cycle.State(), ConnectionState::Outstanding);
}

TEST_F(RefreshCycleTest, ManualRefreshRestartsTheCountdownOnlyWithAutoUpdate) {
    cycle.Refresh();
    EXPECT_THAT(host.log, ElementsAre("timer off", "compose 1", "start /forecastrss/TUXX0014_c.xml", "timer on"));
    host.Finish(-1, "");
    host.log.clear();
    settings.autoUpdate = false;
    cycle.Refresh();
    EXPECT_THAT(host.log, ElementsAre("timer off", "compose 1", "start /forecastrss/TUXX0014_c.xml", "timer off"));
}

TEST_F(RefreshCycleTest, ACheckTimerTickRetriesAfterAFailureAndAfterAThreadThatCouldNotStart) {
    host.threadStarts = false;
    cycle.CheckTimerTimer();
    EXPECT_EQ(cycle.State(), ConnectionState::ThreadFailed);
    host.threadStarts = true;
    host.log.clear();
    cycle.CheckTimerTimer();
    EXPECT_THAT(host.log, ElementsAre("compose 1", "start /forecastrss/TUXX0014_c.xml"));
    host.Finish(-1, "");
    EXPECT_EQ(cycle.State(), ConnectionState::Failed);
    host.log.clear();
    cycle.CheckTimerTimer();
    EXPECT_THAT(host.log, ElementsAre("compose 1", "start /forecastrss/TUXX0014_c.xml"));
}

TEST_F(RefreshCycleTest, ASuccessfulFeedGrowsParsesDatesRedrawsThenTellsInfoWindowAndTray) {
    cycle.StartWeatherDownload();
    cycle.Weather().Temperature = "old";
    cycle.Weather().IPAddress = "10.0.0.1";
    host.Finish(0, "25");
    // The parse sees a cleared record.
    EXPECT_THAT(host.log, ElementsAre("parse city=", "grow animated", "compose 0", "info text", "show info",
                                      "hint Nimbo! - İstanbul, Açık, 25°"));
    EXPECT_TRUE(cycle.DataShown());
    EXPECT_EQ(cycle.State(), ConnectionState::Succeeded);
    EXPECT_EQ(cycle.Weather().Temperature, "25");
    EXPECT_EQ(cycle.Weather().FeedText, "25");
    EXPECT_EQ(cycle.Weather().IPAddress, "10.0.0.1");
    EXPECT_EQ(cycle.Weather().DateText, "8 Aralık 2026 Salı");
    EXPECT_FALSE(cycle.Weather().HijriDateText.empty());

    // Only the first feed grows step by step.
    cycle.StartWeatherDownload();
    host.Finish(0, "26");
    EXPECT_EQ(host.log[1], "grow at once");
}

TEST_F(RefreshCycleTest, WithoutFadingTheFirstFeedGrowsAtOnceAndAHiddenWidgetKeepsItsInfoWindowHidden) {
    settings.fadeEffect = false;
    host.visible = false;
    cycle.StartWeatherDownload();
    host.Finish(0, "25");
    EXPECT_THAT(host.log, ElementsAre("parse city=", "grow at once", "compose 0", "info text",
                                      "hint Nimbo! - İstanbul, Açık, 25°"));
    settings.fadeEffect = true;
    settings.showInfoText = false;
    host.visible = true;
    cycle.StartWeatherDownload();
    host.Finish(0, "25");
    EXPECT_THAT(host.log, ::testing::Not(::testing::Contains("show info")));
}

TEST_F(RefreshCycleTest, TheFeedsBytesAreDecodedBeforeTheParse) {
    cycle.StartWeatherDownload();
    // No declaration and no valid UTF-8: the Turkish code page of such documents.
    host.Finish(0, "\xDDzmir");
    EXPECT_EQ(cycle.Weather().FeedText, "İzmir");
    EXPECT_EQ(cycle.Weather().Temperature, "İzmir");
}

TEST_F(RefreshCycleTest, AFailedDownloadKeepsTheLastWeatherAndSaysSo) {
    cycle.StartWeatherDownload();
    host.Finish(0, "25");
    cycle.StartWeatherDownload();
    host.Finish(-1, "");
    EXPECT_THAT(host.log, ElementsAre("compose 2", "info text", "show info", "hint Nimbo! - Bağlantı yok"));
    EXPECT_EQ(cycle.State(), ConnectionState::Failed);
    EXPECT_EQ(cycle.Weather().Temperature, "25");
    EXPECT_EQ(cycle.Weather().City, "İstanbul");
    EXPECT_TRUE(cycle.DataShown());
}

TEST_F(RefreshCycleTest, AFailureBeforeAnyFeedLeavesTheFirstGrowthForLater) {
    cycle.StartWeatherDownload();
    host.Finish(-1, "");
    EXPECT_FALSE(cycle.DataShown());
    cycle.StartWeatherDownload();
    host.Finish(0, "25");
    EXPECT_EQ(host.log[1], "grow animated");
}

// An error page or a "City not found" feed arrives as a whole document: it must not empty the face.
TEST_F(RefreshCycleTest, ADocumentWithoutWeatherFailsLikeALostConnection) {
    cycle.StartWeatherDownload();
    host.Finish(0, "25");
    cycle.StartWeatherDownload();
    host.Finish(0, "City not found");
    EXPECT_THAT(host.log,
                ElementsAre("parse city=", "compose 2", "info text", "show info", "hint Nimbo! - Bağlantı yok"));
    EXPECT_EQ(cycle.State(), ConnectionState::Failed);
    EXPECT_EQ(cycle.Weather().Temperature, "25");
    EXPECT_EQ(cycle.Weather().City, "İstanbul");
}

TEST_F(RefreshCycleTest, AFeedWithoutAPlaceNameKeepsTheKnownOne) {
    host.feedCity = "";
    cycle.StartWeatherDownload();
    host.Finish(0, "25");
    EXPECT_EQ(cycle.State(), ConnectionState::Succeeded);
    EXPECT_EQ(cycle.Weather().City, "Istanbul");
    EXPECT_EQ(cycle.Weather().Temperature, "25");
}

TEST_F(RefreshCycleTest, WithoutAnXmlComponentTheCompletionStopsAfterTheParse) {
    cycle.StartWeatherDownload();
    host.parseThrows = true;
    EXPECT_THROW(host.Finish(0, "25"), std::runtime_error);
    EXPECT_THAT(host.log, ElementsAre("parse city="));
    EXPECT_TRUE(cycle.Weather().DateText.empty());
}

}  // namespace
}  // namespace nimbo::testing
