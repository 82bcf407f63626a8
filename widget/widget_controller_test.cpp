// The widget controller against a fake view: the refresh cycle's order, the address and version requests, the
// options dialog around its run, favourites, hibernation, the windows, and what the widget saves.
#include "widget/widget_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"
#include "widget/settings_keys.h"

namespace nimbo::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr char kServer[] = "http://feed.test";
constexpr char kFeedUrl[] = "http://feed.test/forecastrss/TUXX0014_c.xml";

// The feed's channel with the given elements; the namespace is declared, as the platform's DOM insists.
std::string Channel(const std::string& elements) {
    return "<rss xmlns:yweather=\"http://xml.weather.yahoo.com/ns/rss/1.0\"><channel>" + elements + "</channel></rss>";
}

std::string Feed(const std::string& city, const std::string& temperature) {
    return Channel("<yweather:location city=\"" + city +
                   "\"/><item><yweather:condition text=\"Fair\" code=\"32\" temp=\"" + temperature + "\"/></item>");
}

const char* NameOf(WidgetWindow window) { return window == WidgetWindow::Main ? "main" : "info"; }

const char* NameOf(WidgetTimer timer) {
    switch (timer) {
        case WidgetTimer::Refresh:
            return "refresh";
        case WidgetTimer::StartupDelay:
            return "startup";
        case WidgetTimer::VersionCheckDelay:
            return "version";
        case WidgetTimer::WeatherAge:
            return "age";
        default:
            return "wake";
    }
}

const char* NameOf(DownloadKind kind) {
    return kind == DownloadKind::Weather ? "weather" : kind == DownloadKind::Address ? "address" : "version";
}

// Records every call that changes something as one line, so a test states the order it expects.
class FakeView final : public WidgetView {
public:
    bool StartDownload(DownloadKind kind, const std::string& url) override {
        Log(std::string("download ") + NameOf(kind) + " " + url);
        running[kind] = threadsStart;
        return threadsStart;
    }
    bool DownloadRunning(DownloadKind kind) const override {
        const auto found = running.find(kind);
        return found != running.end() && found->second;
    }
    void StartTimer(WidgetTimer timer, uint32_t intervalMs) override {
        timers[timer] = intervalMs;
        Log(std::string("timer ") + NameOf(timer) + " " + std::to_string(intervalMs));
    }
    void StopTimer(WidgetTimer timer) override {
        if (timers.erase(timer)) Log(std::string("stop ") + NameOf(timer));
    }
    void ComposeFace(const FaceInputs& inputs) override {
        Log("compose " + std::to_string(static_cast<int>(inputs.connection)) + (inputs.faceActive ? " active" : "") +
            (inputs.stale ? " stale" : ""));
        faceText = inputs.informationText;
    }
    void SetFaceStyle(ViewStyle style, const std::string& temperatureFont, const std::string& placeFont) override {
        faceStyle = style;
        fonts = temperatureFont + "/" + placeFont;
    }
    void GrowFace(bool animate, const WidgetSettings&) override { Log(animate ? "grow animated" : "grow at once"); }
    bool ChangeViewStyle(ViewStyle style, const FaceInputs&) override {
        Log("view style " + std::to_string(static_cast<int>(style)));
        const bool changed = style != faceStyle || style != ViewStyle::Medium;
        faceStyle = style;
        return changed;
    }
    void DrawInfoWindow(const InfoFaceInputs& inputs) override {
        Log("info text");
        infoText = inputs.text;
    }
    void Show(WidgetWindow window, uint8_t fullAlpha, bool fade) override {
        Log(std::string("show ") + NameOf(window) + " " + std::to_string(fullAlpha) + (fade ? " faded" : ""));
    }
    void Hide(WidgetWindow window, bool) override { Log(std::string("hide ") + NameOf(window)); }
    void SetHibernating(WidgetWindow window, bool on, uint8_t fullAlpha, bool) override {
        Log(std::string(on ? "sleep " : "wake ") + NameOf(window) + " " + std::to_string(fullAlpha));
    }
    void SetTopMost(WidgetWindow window, bool topMost) override {
        Log(std::string("topmost ") + NameOf(window) + (topMost ? " on" : " off"));
    }
    ScreenRect WindowRect(WidgetWindow window) const override { return rects.at(window); }
    void MoveTo(WidgetWindow window, int left, int top) override {
        ScreenRect& rect = rects[window];
        rect = {left, top, left + rect.Width(), top + rect.Height()};
        Log(std::string("move ") + NameOf(window) + " " + std::to_string(left) + "," + std::to_string(top));
        if (window == WidgetWindow::Main && controller) controller->WidgetMoved();
    }
    std::vector<ScreenRect> WorkAreas() const override { return {{0, 0, 1024, 768}}; }
    void BringToFront() override { Log("front"); }
    void CaptureMouse(bool on) override { Log(on ? "capture" : "release"); }
    ScreenPoint DragThreshold() const override { return {4, 4}; }
    void RequestClose() override { Log("close"); }
    void DestroyWidget() override { Log("destroy"); }
    void ShowAboutWindow(uint8_t fullAlpha, bool) override { Log("about " + std::to_string(fullAlpha)); }
    void SetTrayIconVisible(bool visible) override { trayVisible = visible; }
    void SetTrayHint(const std::string& hint) override { Log("hint " + hint); }
    void SetTrayIcon(const TrayIconFace& face) override { trayIcon = face; }
    void ShowTrayBalloon(const std::string&) override { Log("balloon"); }
    OptionsOutcome RunOptionsDialog(int page, const ServerAddresses&) override {
        Log("options " + std::to_string(page));
        if (optionsDialog) return optionsDialog();
        return {};
    }
    std::optional<bool> RunHibernateDialog() override {
        Log("hibernate dialog");
        if (hibernateDialog) return hibernateDialog();
        return false;
    }
    void OfferNewVersion(const std::string& latest, const std::string& downloadPageUrl) override {
        Log("offer " + latest + " " + downloadPageUrl);
    }
    ScreenPoint CursorPosition() const override { return cursor; }
    bool ControlKeyDown() const override { return controlDown; }
    SystemTime Now() const override { return now; }

    void Log(const std::string& line) { log.push_back(line); }

    // The thread of `kind` ended: the form frees it before it hands over the result.
    void Finish(DownloadKind kind, int32_t code, const std::string& bytes) {
        running[kind] = false;
        log.clear();
        controller->DownloadDone(kind, code, bytes);
    }

    WidgetController* controller = nullptr;
    std::vector<std::string> log;
    std::map<DownloadKind, bool> running;
    std::map<WidgetTimer, uint32_t> timers;
    bool threadsStart = true;
    std::map<WidgetWindow, ScreenRect> rects{{WidgetWindow::Main, {0, 0, 233, 248}},
                                             {WidgetWindow::Info, {0, 0, 209, 204}}};
    ViewStyle faceStyle = ViewStyle::Large;
    std::string fonts;
    bool trayVisible = false;
    TrayIconFace trayIcon;
    std::string faceText;
    std::string infoText;
    std::function<OptionsOutcome()> optionsDialog;
    std::function<std::optional<bool>()> hibernateDialog;
    ScreenPoint cursor;
    bool controlDown = false;
    SystemTime now{2026, 12, 2, 8, 10, 0, 0, 0};
};

class WidgetControllerTest : public ::testing::Test {
protected:
    WidgetControllerTest() { Write(""); }

    // The settings file: the loopback servers, no version question, then `extra` ("[Section]" and "key=value"
    // lines, the section General to begin with), written through the file so it takes the file's own encoding.
    void Write(const std::string& extra) {
        std::remove(file.FileName().c_str());
        for (const char* key : {"Weather", "Web", "Address"}) file.WriteString("Servers", key, kServer);
        file.WriteString("General", "CheckNewVersion", "0");
        std::string section = "General";
        size_t start = 0;
        while (start < extra.size()) {
            const size_t end = extra.find("\r\n", start);
            const std::string line = extra.substr(start, end - start);
            start = end == std::string::npos ? extra.size() : end + 2;
            const size_t equals = line.find('=');
            if (line.size() > 2 && line.front() == '[') {
                section = line.substr(1, line.size() - 2);
            } else if (equals != std::string::npos) {
                file.WriteString(section, line.substr(0, equals), line.substr(equals + 1));
            }
        }
    }

    WidgetController& Controller() {
        if (!controller) {
            controller.emplace(view, file, BuiltInTurkishCalendarNames(), readers);
            view.controller = &*controller;
        }
        return *controller;
    }

    // Started, with the first download outstanding and the log cleared.
    WidgetController& Started() {
        Controller().Start();
        view.log.clear();
        return *controller;
    }

    // Started and showing the first feed.
    WidgetController& Showing(const std::string& temperature = "25") {
        Started();
        view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", temperature));
        view.log.clear();
        return *controller;
    }

    std::string Setting(const std::string& section, const std::string& key) const {
        return file.ReadString(section, key, "(none)");
    }

    TempFolder folder;
    IniFile file{folder.File("Options.ini")};
    FakeView view;
    DocumentReaders readers;
    std::optional<WidgetController> controller;
};

// --- the refresh cycle ---------------------------------------------------------------------------------

TEST_F(WidgetControllerTest, ADownloadStartsConnectingThenAsksForThePlacesFeed) {
    Started();
    EXPECT_EQ(Controller().State(), ConnectionState::Outstanding);
    view.running[DownloadKind::Weather] = false;
    view.Finish(DownloadKind::Weather, -1, "");
    view.log.clear();
    Controller().Execute(ActionId::Refresh);
    // The face is redrawn as connecting before the request goes out.
    EXPECT_THAT(view.log, ElementsAre("stop refresh", "compose 1", std::string("download weather ") + kFeedUrl,
                                      "timer refresh 900000"));
}

TEST_F(WidgetControllerTest, NoSecondRequestWhileOneIsOutstanding) {
    Started();
    Controller().Execute(ActionId::Refresh);
    Controller().TimerElapsed(WidgetTimer::Refresh);
    Controller().WidgetDoubleClicked(FaceButton::None, {});
    EXPECT_THAT(view.log, Not(Contains(std::string("download weather ") + kFeedUrl)));
    EXPECT_EQ(Controller().State(), ConnectionState::Outstanding);
}

TEST_F(WidgetControllerTest, ManualRefreshRestartsTheCountdownOnlyWithAutoUpdate) {
    Write("AutoUpdate=0\r\n");
    Started();
    view.Finish(DownloadKind::Weather, -1, "");
    view.log.clear();
    Controller().Execute(ActionId::Refresh);
    EXPECT_THAT(view.log, ElementsAre("compose 1", std::string("download weather ") + kFeedUrl));
    EXPECT_EQ(view.timers.count(WidgetTimer::Refresh), 0u);
}

TEST_F(WidgetControllerTest, ARefreshTickRetriesAfterAFailureAndAfterAThreadThatCouldNotStart) {
    view.threadsStart = false;
    Started();
    EXPECT_EQ(Controller().State(), ConnectionState::ThreadFailed);
    view.threadsStart = true;
    Controller().TimerElapsed(WidgetTimer::Refresh);
    EXPECT_THAT(view.log, ElementsAre("compose 1", std::string("download weather ") + kFeedUrl));
    view.Finish(DownloadKind::Weather, -1, "");
    EXPECT_EQ(Controller().State(), ConnectionState::Failed);
    view.log.clear();
    Controller().TimerElapsed(WidgetTimer::Refresh);
    EXPECT_THAT(view.log, ElementsAre("compose 1", std::string("download weather ") + kFeedUrl));
}

TEST_F(WidgetControllerTest, ASuccessfulFeedGrowsRedrawsBothWindowsWithOneTextThenTellsTheTray) {
    Started();
    Controller().TimerElapsed(WidgetTimer::StartupDelay);
    view.Finish(DownloadKind::Address, 0, "<data><ip>10.0.0.1</ip></data>");
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "25"));
    EXPECT_THAT(view.log, ElementsAre("grow animated", "compose 0", "info text", "show info 255 faded",
                                      "hint Nimbo! - İstanbul, Açık, 25° (10:00)"));
    EXPECT_EQ(Controller().State(), ConnectionState::Succeeded);
    const WeatherData& weather = Controller().Weather();
    EXPECT_EQ(weather.Temperature, "25");
    EXPECT_EQ(weather.IPAddress, "10.0.0.1");
    EXPECT_EQ(weather.DateText, "8 Aralık 2026 Salı");
    EXPECT_FALSE(weather.HijriDateText.empty());
    // The face's hint and the information window show the same text, assembled once.
    EXPECT_EQ(view.faceText, view.infoText);
    EXPECT_THAT(view.infoText, ::testing::HasSubstr("IP: 10.0.0.1"));

    // Only the first feed grows step by step.
    Controller().Execute(ActionId::Refresh);
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "26"));
    EXPECT_EQ(view.log[0], "grow at once");
}

TEST_F(WidgetControllerTest, WithoutFadingTheFirstFeedGrowsAtOnceAndAHiddenWidgetKeepsItsInfoWindowHidden) {
    Write("FadeEffect=0\r\n");
    Started();
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "25"));
    // The start-up delay has not shown the widget yet.
    EXPECT_THAT(view.log,
                ElementsAre("grow at once", "compose 0", "info text", "hint Nimbo! - İstanbul, Açık, 25° (10:00)"));
    Controller().TimerElapsed(WidgetTimer::StartupDelay);
    EXPECT_THAT(view.log, Contains("show info 255"));
}

TEST_F(WidgetControllerTest, TheFeedsBytesAreDecodedBeforeTheParse) {
    Started();
    // No declaration and no valid UTF-8: the Turkish code page of such documents.
    view.Finish(DownloadKind::Weather, 0, Feed("\xDDzmir", "25"));
    EXPECT_EQ(Controller().Weather().City, "İzmir");
    EXPECT_EQ(Controller().Weather().FeedText, Feed("İzmir", "25"));
}

TEST_F(WidgetControllerTest, AFailedDownloadOrADocumentWithoutWeatherKeepsTheLastWeatherAndSaysSo) {
    for (const auto& [code, bytes] :
         std::vector<std::pair<int32_t, std::string>>{{-1, ""}, {0, "City not found"}, {0, "<rss><channel/></rss>"}}) {
        Showing();
        Controller().Execute(ActionId::Refresh);
        view.Finish(DownloadKind::Weather, code, bytes);
        EXPECT_THAT(view.log, ElementsAre("compose 2", "info text", "hint Nimbo! - Bağlantı yok")) << bytes;
        EXPECT_EQ(Controller().State(), ConnectionState::Failed);
        EXPECT_EQ(Controller().Weather().Temperature, "25");
        EXPECT_EQ(Controller().Weather().City, "İstanbul");
        controller.reset();
    }
}

TEST_F(WidgetControllerTest, AFailureBeforeAnyFeedLeavesTheFirstGrowthForLater) {
    Started();
    view.Finish(DownloadKind::Weather, -1, "");
    Controller().Execute(ActionId::Refresh);
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "25"));
    EXPECT_EQ(view.log[0], "grow animated");
}

TEST_F(WidgetControllerTest, TheWeathersAgeEndsTheInformationTextAndFollowsTheClock) {
    Write("UpdatePeriod=3\r\n[Appearance]\r\nShowIP=0\r\n");  // 30 minutes: stale after an hour
    Started();
    // Nothing received yet: no age.
    EXPECT_EQ(view.infoText, "");
    view.now = {2026, 12, 2, 8, 14, 32, 10, 0};
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "6"));
    EXPECT_EQ(view.infoText, "Açık\r\nSon güncelleme: 14:32");
    EXPECT_EQ(view.faceText, view.infoText);
    EXPECT_THAT(view.log, Contains("hint Nimbo! - İstanbul, Açık, 6° (14:32)"));

    // The minute's tick redraws only when the line or the staleness changes.
    view.now = {2026, 12, 2, 8, 15, 32, 0, 0};
    view.log.clear();
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_THAT(view.log, IsEmpty());
    view.now = {2026, 12, 2, 8, 15, 33, 0, 0};
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_THAT(view.log, ElementsAre("compose 0 stale", "info text"));
    view.now = {2026, 12, 3, 9, 0, 5, 0, 0};
    view.log.clear();
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_EQ(view.infoText, "Açık\r\nSon güncelleme: dün 14:32");
    view.now = {2026, 12, 4, 10, 10, 0, 0, 0};
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_EQ(view.infoText, "Açık\r\nSon güncelleme: 8 Aralık 14:32");

    // A failed refresh keeps the old weather, its age and its dimming; a fresh feed ends both.
    Controller().Execute(ActionId::Refresh);
    EXPECT_THAT(view.log, Contains("compose 1 stale"));
    view.Finish(DownloadKind::Weather, -1, "");
    EXPECT_THAT(view.log, ElementsAre("compose 2 stale", "info text", "hint Nimbo! - Bağlantı yok"));
    EXPECT_EQ(view.infoText, "Açık\r\nSon güncelleme: 8 Aralık 14:32");
    Controller().Execute(ActionId::Refresh);
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "7"));
    EXPECT_THAT(view.log, Contains("compose 0"));
    EXPECT_EQ(view.infoText, "Açık\r\nSon güncelleme: 10:00");
}

TEST_F(WidgetControllerTest, WithoutAutomaticRefreshWeatherTurnsStaleAfterThreeHours) {
    Write("AutoUpdate=0\r\n");
    Showing();
    view.now = {2026, 12, 2, 8, 13, 0, 0, 0};
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_THAT(view.log, IsEmpty());
    view.now = {2026, 12, 2, 8, 13, 1, 0, 0};
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_THAT(view.log, Contains("compose 0 stale"));
}

TEST_F(WidgetControllerTest, TheTrayIconShowsTheTemperatureWhileConnectedDimmedWhenOldAndAsTheSettingSays) {
    Showing("-12");
    EXPECT_EQ(view.trayIcon, (TrayIconFace{"-12", false}));
    view.now = {2026, 12, 2, 8, 12, 0, 0, 0};  // a 15-minute period: stale after an hour
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_EQ(view.trayIcon, (TrayIconFace{"-12", true}));
    // While a refresh runs the icon stays as it was.
    Controller().Execute(ActionId::Refresh);
    view.now = {2026, 12, 3, 8, 12, 0, 0, 0};
    Controller().TimerElapsed(WidgetTimer::WeatherAge);
    EXPECT_EQ(view.trayIcon, (TrayIconFace{"-12", true}));
    view.Finish(DownloadKind::Weather, -1, "");
    EXPECT_EQ(view.trayIcon, TrayIconFace{});
    Controller().Execute(ActionId::Refresh);
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "104"));
    EXPECT_EQ(view.trayIcon, (TrayIconFace{"104", false}));

    // Switched off in the options dialog: the application's icon at once, and after every feed.
    view.optionsDialog = [this] {
        file.WriteString("General", "TrayTemperature", "0");
        return OptionsOutcome{true, false};
    };
    Controller().Execute(ActionId::Options);
    EXPECT_EQ(view.trayIcon, TrayIconFace{});
    Controller().Execute(ActionId::Refresh);
    view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "6"));
    EXPECT_EQ(view.trayIcon, TrayIconFace{});
}

TEST_F(WidgetControllerTest, AFeedWithoutAPlaceNameKeepsTheKnownOne) {
    Write("[Location]\r\nCityName=Eski İstanbul\r\n");
    Started();
    view.Finish(DownloadKind::Weather, 0, Channel("<item><yweather:condition temp=\"25\"/></item>"));
    EXPECT_EQ(Controller().State(), ConnectionState::Succeeded);
    EXPECT_EQ(Controller().Weather().City, "Eski İstanbul");
    EXPECT_EQ(Controller().Weather().Temperature, "25");
}

TEST_F(WidgetControllerTest, WithoutAnXmlComponentTheCompletionStopsAtTheParse) {
    readers.createXml = []() -> std::unique_ptr<XmlDocument> { throw XmlError("no XML component"); };
    Started();
    EXPECT_THROW(view.Finish(DownloadKind::Weather, 0, Feed("İstanbul", "25")), XmlError);
    EXPECT_THAT(view.log, IsEmpty());
    EXPECT_TRUE(Controller().Weather().DateText.empty());
}

// --- start, address and version ------------------------------------------------------------------------

TEST_F(WidgetControllerTest, StartPlacesTheWindowsDrawsAsksAndArmsTheTimers) {
    Write(
        "[Appearance]\r\nLeft=2000\r\nTop=100\r\nInfoTextLeft=40\r\nInfoTextTop=50\r\nViewStyle=1\r\n"
        "TempFontName=Impact\r\n[General]\r\nUpdatePeriod=3\r\n");
    Controller().Start();
    // Saved past the screen's right edge, the widget comes back onto it.
    EXPECT_THAT(view.log, ElementsAre("move main 2000,100", "topmost main off", "move info 40,50", "move main 791,100",
                                      "compose 0", "compose 1", std::string("download weather ") + kFeedUrl,
                                      "download address http://feed.test/getip.php?ref=nimbo150",
                                      "timer refresh 1800000", "timer startup 250", "timer age 60000", "info text", "topmost info off"));
    EXPECT_EQ(view.faceStyle, ViewStyle::Medium);
    EXPECT_EQ(view.fonts, "Impact/Arial");
    EXPECT_TRUE(view.trayVisible);

    // The information window keeps its distance when the widget is dragged.
    view.log.clear();
    Controller().WidgetPressed(true, FaceButton::None, {800, 110});
    Controller().WidgetMouseMoved({810, 130}, true);
    Controller().WidgetReleased(FaceButton::None);
    EXPECT_THAT(view.log, ElementsAre("topmost main off", "compose 1 active", "capture", "move main 801,120",
                                      "move info 50,70", "release", "compose 1 active"));
}

TEST_F(WidgetControllerTest, TheStartupDelayShowsTheWidgetGreetsAndHibernatesAgain) {
    Write("FirstUsage=1\r\nHibernateAlert=0\r\n[Appearance]\r\nHibernate=1\r\n");
    Showing();
    Controller().TimerElapsed(WidgetTimer::StartupDelay);
    EXPECT_THAT(view.log, ElementsAre("stop startup", "show main 255 faded", "show info 255 faded", "balloon",
                                      "timer wake 200", "sleep main 127", "sleep info 127"));
}

TEST_F(WidgetControllerTest, TheVersionIsAskedForOnceAndANewerOneOffered) {
    struct Case {
        std::string latest;
        bool offered;
    };
    for (const Case& c : {Case{"1.61", true}, Case{"2.0", true}, Case{"1.6", false}, Case{"1.100", false}}) {
        Write("CheckNewVersion=1\r\n");
        Controller().Start();
        EXPECT_EQ(view.timers[WidgetTimer::VersionCheckDelay], 3000u);
        view.log.clear();
        Controller().TimerElapsed(WidgetTimer::VersionCheckDelay);
        EXPECT_THAT(view.log, ElementsAre("stop version", "download version http://feed.test/nimbo.xml"));
        view.Finish(DownloadKind::Version, 0, "<data><version>" + c.latest + "</version></data>");
        if (c.offered) {
            EXPECT_THAT(view.log, ElementsAre("offer " + c.latest + " http://feed.test/index.html#nimbonew"));
        } else {
            EXPECT_THAT(view.log, IsEmpty()) << c.latest;
        }
        view.Finish(DownloadKind::Version, -1, "<data><version>9</version></data>");
        EXPECT_THAT(view.log, IsEmpty());
        controller.reset();
        view.timers.clear();
    }
    Write("CheckNewVersion=0\r\n");
    Controller().Start();
    EXPECT_EQ(view.timers.count(WidgetTimer::VersionCheckDelay), 0u);
}

TEST_F(WidgetControllerTest, RenewingTheAddressSaysSoAndAsksOnceAtATime) {
    Showing();
    Controller().Execute(ActionId::RenewAddress);
    EXPECT_THAT(view.log, ElementsAre("info text"));  // the first lookup still runs
    EXPECT_THAT(view.infoText, ::testing::HasSubstr("IP: Yineleniyor..."));
    view.Finish(DownloadKind::Address, -1, "");
    EXPECT_THAT(view.infoText, ::testing::HasSubstr("IP: Yineleniyor..."));
    view.log.clear();
    Controller().Execute(ActionId::RenewAddress);
    EXPECT_THAT(view.log, ElementsAre("info text", "download address http://feed.test/getip.php?ref=nimbo150"));
    view.Finish(DownloadKind::Address, 0, "<data><ip>192.0.2.7</ip></data>");
    EXPECT_EQ(Controller().Weather().IPAddress, "192.0.2.7");
    EXPECT_THAT(view.log, ElementsAre("info text"));
}

TEST_F(WidgetControllerTest, DirectModeWithoutAddressOrWebServerShowsNoAddressLineAndGreysRenewing) {
    Write("CheckNewVersion=1\r\n[Appearance]\r\nShowIP=1\r\n");
    file.WriteString("Servers", "Weather", "direct");
    file.WriteString("Servers", "Web", "");
    file.WriteString("Servers", "Address", "");
    Controller().Start();
    EXPECT_THAT(view.log, Not(Contains(::testing::StartsWith("download address"))));
    EXPECT_FALSE(Controller().MenuStates().addressServer);
    view.log.clear();
    Controller().Execute(ActionId::RenewAddress);
    EXPECT_THAT(view.log, IsEmpty());
    EXPECT_THAT(view.infoText, Not(::testing::HasSubstr("IP:")));
    EXPECT_EQ(view.timers.count(WidgetTimer::VersionCheckDelay), 0u);
}

TEST_F(WidgetControllerTest, TheCarriedTurkishNameWinsOverTheStoredDefaultOnly) {
    const struct {
        const char* stored;
        const char* code;
        const char* shown;
    } cases[] = {
        {nullptr, nullptr, "İstanbul"},        // nothing stored: the default place
        {"Istanbul", "TUXX0014", "İstanbul"},  // the default name, written back by an older run
        {"", "TUXX0014", "İstanbul"},
        {"Istanbul Avrupa", "TUXX0014", "Istanbul Avrupa"},  // the user's own name
        {"Berlin, Germany", "GMXX0007", "Berlin, Germany"},
        {"Istanbul", "XXXX0000", "Istanbul"},  // a place the program does not carry
    };
    for (const auto& c : cases) {
        Write("");
        if (c.stored) file.WriteString("Location", "CityName", c.stored);
        if (c.code) file.WriteString("Location", "CityID", c.code);
        Controller().Start();
        EXPECT_EQ(Controller().Weather().City, c.shown) << (c.stored ? c.stored : "(none)");
        controller.reset();
    }
}

// --- options, favourites, hibernation ------------------------------------------------------------------

TEST_F(WidgetControllerTest, TheOptionsDialogSeesTheSavedStateAndItsOutcomeDecidesWhatFollows) {
    struct Case {
        OptionsOutcome outcome;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{false, false}, {"stop refresh", "options -1", "compose 0", "timer refresh 900000"}},
        {{false, true}, {"stop refresh", "options -1", "compose 0", "timer refresh 900000"}},
        // The reloaded settings decide the timer: the dialog switched automatic refresh off.
        {{true, true},
         {"stop refresh", "options -1", "move main 300,300", "move info 533,300", "topmost main off", "compose 1",
          std::string("download weather ") + kFeedUrl, "info text", "hide info"}},
        {{true, false},
         {"stop refresh", "options -1", "move main 300,300", "move info 533,300", "topmost main off", "compose 0",
          "info text", "hide info"}},
    };
    for (const Case& c : cases) {
        Showing();
        view.MoveTo(WidgetWindow::Main, 300, 300);
        view.log.clear();
        view.optionsDialog = [&] {
            EXPECT_EQ(Setting("Appearance", "Left"), "300");  // saved before the dialog runs
            file.WriteString("General", "AutoUpdate", "0");
            file.WriteString("Appearance", "ShowInfoText", "0");
            return c.outcome;
        };
        Controller().Execute(ActionId::Options);
        EXPECT_EQ(view.log, c.expected);
        controller.reset();
        Write("");
    }
}

TEST_F(WidgetControllerTest, AddPlaceOpensThePlacesPageAndTheTimerComesBackWhateverFails) {
    Showing();
    Controller().Execute(ActionId::AddPlace);
    EXPECT_THAT(view.log, Contains("options 2"));
    view.optionsDialog = []() -> OptionsOutcome { throw std::runtime_error("no dialog"); };
    view.log.clear();
    EXPECT_THROW(Controller().Execute(ActionId::Options), std::runtime_error);
    EXPECT_EQ(view.log.back(), "timer refresh 900000");

    // A read-only settings file refuses the save before the dialog.
    SetReadOnly(file.FileName(), true);
    view.log.clear();
    EXPECT_THROW(Controller().Execute(ActionId::Options), SettingsWriteError);
    EXPECT_THAT(view.log, ElementsAre("stop refresh", "timer refresh 900000"));
    SetReadOnly(file.FileName(), false);
}

TEST_F(WidgetControllerTest, AFavouriteIsPickedFromTheSortedMenuUnlessADownloadRuns) {
    Write("[Favorites]\r\nZonguldak=TUXX0070\r\nizmir=TUXX0015\r\nAnkara & Çevresi=TUXX0002\r\nBoş=\r\n");
    Showing();
    EXPECT_THAT(Controller().OpenFavoritesMenu(), ElementsAre("Ankara & Çevresi", "Boş", "izmir", "Zonguldak"));
    Controller().PickFavorite(1);  // no code: nothing happens
    Controller().PickFavorite(9);
    EXPECT_THAT(view.log, IsEmpty());
    Controller().PickFavorite(2);
    EXPECT_THAT(view.log, ElementsAre("compose 1", "download weather http://feed.test/forecastrss/TUXX0015_c.xml"));
    view.log.clear();
    Controller().PickFavorite(3);
    EXPECT_THAT(view.log, IsEmpty());
    EXPECT_EQ(Controller().Weather().CityID, "TUXX0015");
}

TEST_F(WidgetControllerTest, AChangeOfPlaceDropsTheOldWeatherAndKeepsTheNameWithItsCode) {
    Write("[Favorites]\r\nBerlin, Germany=GMXX0007\r\nKonya=TUXX0010\r\n");
    Showing("14");
    // Offline: neither pick shows İstanbul's weather under the new name, and the name goes with the code.
    for (const auto& [index, name, code] :
         {std::tuple<size_t, const char*, const char*>{0, "Berlin, Germany", "GMXX0007"}, {1, "Konya", "TUXX0010"}}) {
        Controller().OpenFavoritesMenu();
        Controller().PickFavorite(index);
        view.Finish(DownloadKind::Weather, -1, "");
        const WeatherData& weather = Controller().Weather();
        EXPECT_EQ(weather.City, name);
        EXPECT_EQ(weather.CityID, code);
        EXPECT_TRUE(weather.Temperature.empty()) << name;
        EXPECT_TRUE(weather.Forecast[0].High.empty()) << name;
        EXPECT_THAT(view.log, ElementsAre("compose 2", "info text", "hint Nimbo! - Bağlantı yok"));
    }
    Controller().Stop();
    EXPECT_EQ(Setting("Location", "CityName"), "Konya");
    EXPECT_EQ(Setting("Location", "CityID"), "TUXX0010");

    // A refresh of the same place keeps its weather; the options dialog's new place drops it.
    controller.reset();
    Showing("14");
    Controller().Execute(ActionId::Refresh);
    view.Finish(DownloadKind::Weather, -1, "");
    EXPECT_EQ(Controller().Weather().Temperature, "14");
    view.optionsDialog = [&] {
        file.WriteString("Location", "CityName", "İzmir");
        file.WriteString("Location", "CityID", "TUXX0015");
        return OptionsOutcome{true, true};
    };
    Controller().Execute(ActionId::Options);
    EXPECT_EQ(Controller().Weather().City, "İzmir");
    EXPECT_TRUE(Controller().Weather().Temperature.empty());
}

TEST_F(WidgetControllerTest, HibernationExplainsDimsBothWindowsAndCtrlOverTheWidgetWakesIt) {
    Showing();
    view.hibernateDialog = [&]() -> std::optional<bool> {
        // The dialog's own loop may deliver another toggle meanwhile.
        Controller().Execute(ActionId::ToggleHibernation);
        return true;
    };
    Controller().Execute(ActionId::ToggleHibernation);
    EXPECT_THAT(view.log, ElementsAre("hibernate dialog", "timer wake 200", "sleep main 127", "sleep info 127"));
    EXPECT_EQ(Setting("General", "HibernateAlert"), "0");
    EXPECT_TRUE(Controller().MenuStates().checks.hibernating);

    view.log.clear();
    view.cursor = {400, 400};
    Controller().TimerElapsed(WidgetTimer::HibernationWake);  // no Ctrl
    view.controlDown = true;
    view.cursor = {533, 400};
    Controller().TimerElapsed(WidgetTimer::HibernationWake);  // just beside the widget
    EXPECT_THAT(view.log, IsEmpty());
    view.cursor = {532, 400};
    Controller().TimerElapsed(WidgetTimer::HibernationWake);
    EXPECT_THAT(view.log, ElementsAre("stop wake", "wake main 255", "wake info 255"));

    // Told not to explain again, the next hibernation starts at once; the dialog that could not show writes nothing.
    view.log.clear();
    Controller().Execute(ActionId::ToggleHibernation);
    EXPECT_THAT(view.log, ElementsAre("timer wake 200", "sleep main 127", "sleep info 127"));
    file.WriteString("General", "HibernateAlert", "1");
    Controller().Execute(ActionId::ToggleHibernation);
    view.hibernateDialog = [] { return std::optional<bool>(); };
    Controller().Execute(ActionId::ToggleHibernation);
    EXPECT_EQ(Setting("General", "HibernateAlert"), "1");
}

// --- windows and what is saved -------------------------------------------------------------------------

TEST_F(WidgetControllerTest, AFaceButtonRunsOnAClickWhileTheFaceIsActiveAndAMoveNeverRunsIt) {
    Showing();
    // The first press activates the face; a button is not drawn yet, so releasing over it runs nothing.
    Controller().WidgetPressed(true, FaceButton::Exit, {100, 50});
    Controller().WidgetReleased(FaceButton::Exit);
    EXPECT_THAT(view.log, ElementsAre("topmost main off", "compose 0 active", "capture", "release"));
    view.log.clear();
    // A press alone runs nothing; the click does, after the mouse is let go.
    Controller().WidgetPressed(true, FaceButton::Exit, {100, 50});
    EXPECT_THAT(view.log, ElementsAre("capture"));
    Controller().WidgetMouseMoved({104, 46}, true);  // within the drag rectangle
    Controller().WidgetReleased(FaceButton::Exit);
    EXPECT_THAT(view.log, ElementsAre("capture", "release", "close"));
    view.log.clear();
    // Released over another button, pressed on none, or moved: no button runs.
    Controller().WidgetPressed(true, FaceButton::Exit, {100, 50});
    Controller().WidgetReleased(FaceButton::Hide);
    Controller().WidgetPressed(true, FaceButton::None, {100, 50});
    Controller().WidgetReleased(FaceButton::Exit);
    Controller().WidgetPressed(true, FaceButton::Options, {100, 50});
    Controller().WidgetMouseMoved({100, 55}, true);
    Controller().WidgetMouseMoved({100, 50}, true);
    Controller().WidgetReleased(FaceButton::Options);
    EXPECT_THAT(view.log, Not(Contains("close")));
    EXPECT_THAT(view.log, Not(Contains("options -1")));
    // Once moving, the widget follows the mouse all the way, back into the drag rectangle too.
    EXPECT_THAT(view.log, ::testing::IsSupersetOf({"move main 300,305", "move main 300,300"}));
    view.log.clear();
    // A press whose release went elsewhere ends without a click at the next move; a release without a press, or
    // a move, does nothing.
    Controller().WidgetPressed(true, FaceButton::Hide, {100, 50});
    Controller().WidgetMouseMoved({300, 300}, false);
    Controller().WidgetReleased(FaceButton::Hide);
    Controller().WidgetMouseMoved({300, 300}, true);
    EXPECT_THAT(view.log, ElementsAre("capture"));
    view.log.clear();
    // The right button leaves the context menu to the window.
    EXPECT_FALSE(Controller().WidgetPressed(false, FaceButton::None, {}));
    Controller().Deactivated();
    EXPECT_THAT(view.log, ElementsAre("compose 0"));
    view.log.clear();
    Controller().WidgetPressed(true, FaceButton::Options, {100, 50});
    Controller().WidgetReleased(FaceButton::Options);
    EXPECT_THAT(view.log, Not(Contains("options -1")));
}

TEST_F(WidgetControllerTest, ADownloadBlocksTheActionsThatWouldCloseConfigureOrRefreshAndHidingNeedsTheTray) {
    Write("ShowTrayIcon=0\r\n");
    Started();
    for (const ActionId action : {ActionId::Exit, ActionId::Options, ActionId::AddPlace, ActionId::Refresh}) {
        Controller().Execute(action);
    }
    EXPECT_THAT(view.log, IsEmpty());
    view.Finish(DownloadKind::Weather, -1, "");
    view.log.clear();
    Controller().Execute(ActionId::Hide);
    EXPECT_THAT(view.log, IsEmpty());
    Controller().Execute(ActionId::About);
    EXPECT_THAT(view.log, ElementsAre("about 255"));
}

TEST_F(WidgetControllerTest, HidingShowingAndClosingTakeTheInformationWindowAlong) {
    Showing();
    Controller().TimerElapsed(WidgetTimer::StartupDelay);
    struct Case {
        std::function<void()> act;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {[&] { Controller().Execute(ActionId::Hide); }, {"hide main", "hide info"}},
        {[&] { Controller().ShowRequested(); }, {"show main 255 faded", "show info 255 faded", "front"}},
        {[&] { Controller().ShowRequested(); }, {"front"}},
        {[&] { Controller().Execute(ActionId::Show); }, {"front", "show main 255 faded", "show info 255 faded"}},
        {[&] { Controller().Execute(ActionId::ToggleInfoWindow); }, {"hide info"}},
        {[&] { Controller().Execute(ActionId::Show); }, {"front", "show main 255 faded"}},
        {[&] { Controller().InfoWindowClosed(); }, {"hide info"}},
        {[&] { Controller().CloseRequested(); }, {"hide info", "hide main", "destroy"}},
    };
    for (const Case& c : cases) {
        view.log.clear();
        c.act();
        EXPECT_EQ(view.log, c.expected);
    }
    EXPECT_EQ(Setting("Appearance", "ShowInfoText"), "0");
}

TEST_F(WidgetControllerTest, TheInformationWindowStandsBesideTheWidgetAndBothComeBackOnScreen) {
    // The first start: the stored places put the information window over the widget; it goes to the right.
    Controller().Start();
    EXPECT_THAT(view.log, ::testing::IsSupersetOf({"move info 331,331", "move info 533,300"}));
    EXPECT_EQ(view.rects[WidgetWindow::Info].left, 533);
    // Dragged together, they keep their distance; a place the user chose covers nothing and stays.
    view.MoveTo(WidgetWindow::Main, 100, 100);
    view.MoveTo(WidgetWindow::Info, 700, 500);
    view.log.clear();
    Controller().Execute(ActionId::Show);
    EXPECT_THAT(view.log, Not(Contains(::testing::StartsWith("move"))));

    // Dragged until only slivers show, both come back on "Göster", and so on a second start's request.
    for (const std::function<void()>& show : std::vector<std::function<void()>>{
             [&] { Controller().Execute(ActionId::Show); }, [&] { Controller().ShowRequested(); }}) {
        view.MoveTo(WidgetWindow::Main, 1000, 700);
        view.MoveTo(WidgetWindow::Info, -200, -100);
        // A press on the widget takes the information window's distance, as before every drag.
        Controller().WidgetPressed(true, FaceButton::None, {});
        Controller().WidgetReleased(FaceButton::None);
        view.log.clear();
        show();
        EXPECT_THAT(view.log, ::testing::IsSupersetOf({"move main 947,686", "move info 0,0"}));
        // Past the right edge and over the widget, the information window comes back beside it, on its left.
        view.MoveTo(WidgetWindow::Info, 950, 690);
        show();
        EXPECT_EQ(view.rects[WidgetWindow::Info].left, 947 - 209);
    }
}

TEST_F(WidgetControllerTest, TheViewStyleChangesOnceAndTheMenusCheckIt) {
    Showing();
    Controller().Execute(ActionId::ShowMediumView);
    EXPECT_THAT(view.log, ElementsAre("view style 1"));
    view.log.clear();
    Controller().Execute(ActionId::ShowMediumView);
    EXPECT_THAT(view.log, ElementsAre("view style 1", "compose 0"));
    const ActionStates states = Controller().MenuStates();
    EXPECT_EQ(states.checks.viewStyle, 1);
    EXPECT_TRUE(states.checks.showInfoText);
    EXPECT_FALSE(states.checks.hibernating);
}

TEST_F(WidgetControllerTest, TheSavedStateHoldsThePlaceThePositionsAndTheHibernation) {
    Write("[Appearance]\r\nHibernate=1\r\nInfoTextLeft=640\r\nInfoTextTop=350\r\n");
    Showing();
    view.MoveTo(WidgetWindow::Main, 211, 97);
    Controller().Execute(ActionId::ShowSmallView);
    // Closed before the start-up delay hibernated it again, the widget still means to hibernate.
    Controller().Stop();
    EXPECT_EQ(Setting("Appearance", "Left"), "211");
    EXPECT_EQ(Setting("Appearance", "Top"), "97");
    EXPECT_EQ(Setting("Appearance", "InfoTextLeft"), "551");  // it followed the widget
    EXPECT_EQ(Setting("Appearance", "InfoTextTop"), "147");
    EXPECT_EQ(Setting("Appearance", "ViewStyle"), "0");
    EXPECT_EQ(Setting("Appearance", "Hibernate"), "1");
    EXPECT_EQ(Setting("Location", "CityName"), "İstanbul");
    EXPECT_EQ(Setting("Location", "CityID"), "TUXX0014");
    EXPECT_EQ(Setting("General", "FirstUsage"), "0");
    EXPECT_THAT(view.timers, IsEmpty());

    view.log.clear();
    Controller().SessionEnding();
    EXPECT_THAT(view.log, ElementsAre("hide info", "hide main"));
}

}  // namespace
}  // namespace nimbo::testing
