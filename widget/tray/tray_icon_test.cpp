// The tray icon's rules against a recording shell: records, flags, texts, events and animation.
#include "widget/tray/tray_icon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf.h"

namespace nimbo::testing {
namespace {

using ::testing::ElementsAre;

constexpr uintptr_t kWindow = 0x5A10;
constexpr uint32_t kTaskbarCreated = 0xC0DE;

struct ShellCall {
    char command;  // 'A'dd, 'M'odify, 'D'elete
    TrayNotifyData data;
};

class RecordingShell final : public TrayShell {
public:
    bool Add(const TrayNotifyData& data) override { return Record('A', data); }
    bool Modify(const TrayNotifyData& data) override { return Record('M', data); }
    bool Delete(const TrayNotifyData& data) override { return Record('D', data); }

    std::string Commands() const {
        std::string out;
        for (const ShellCall& call : calls) out += call.command;
        return out;
    }
    const TrayNotifyData& Last() const { return calls.back().data; }

    std::vector<ShellCall> calls;

private:
    bool Record(char command, const TrayNotifyData& data) {
        calls.push_back({command, data});
        return true;
    }
};

class FakeIcon final : public TrayIconImage {
public:
    explicit FakeIcon(uintptr_t handle) : m_handle(handle) {}
    uintptr_t Handle() const override { return m_handle; }

private:
    uintptr_t m_handle;
};

TrayIconRef MakeIcon(uintptr_t handle) { return std::make_shared<FakeIcon>(handle); }

class FakeHost final : public TrayHost {
public:
    uintptr_t HiddenWindow() const override { return kWindow; }
    uint32_t TaskbarCreatedMessage() const override { return taskbarCreated; }
    void SetAnimationTimer(uint32_t intervalMs) override { timer.push_back(intervalMs); }
    TrayPointer Pointer() const override { return pointer; }
    std::string ApplicationTitle() const override { return title; }
    TrayIconRef ApplicationIcon() const override { return applicationIcon; }

    uint32_t taskbarCreated = kTaskbarCreated;
    std::vector<uint32_t> timer;  // every interval given, 0 = stopped
    TrayPointer pointer{ssCtrl, 640, 470};
    std::string title = "Nimbo";
    TrayIconRef applicationIcon = MakeIcon(0xA99);
};

class RecordingMenu final : public TrayPopupMenu {
public:
    explicit RecordingMenu(std::vector<std::string>& log) : m_log(log) {}
    void Popup(int x, int y) override { m_log.push_back("popup " + std::to_string(x) + "," + std::to_string(y)); }

private:
    std::vector<std::string>& m_log;
};

class TrayIconTest : public ::testing::Test {
protected:
    // The component under test, made on first use so a test can set up the host first.
    TTrayIcon& Tray() {
        if (!m_tray) m_tray = std::make_unique<TTrayIcon>(shell, host);
        return *m_tray;
    }

    void Destroy() { m_tray.reset(); }

    void Callback(intptr_t notification) { Tray().HandleTrayMessage(kTrayCallbackMessage, 0, notification); }

    // A visible icon with a cleared call log.
    TTrayIcon& Shown() {
        Tray().SetVisible(true);
        shell.calls.clear();
        return Tray();
    }

    // Every event of the component written to `events` as one word and its arguments.
    void LogEvents() {
        static const char* const kButtons[] = {"L", "R", "M"};
        TTrayIcon& tray = Tray();
        tray.OnClick = [this] { events.push_back("click"); };
        tray.OnDblClick = [this] { events.push_back("dblclick"); };
        tray.OnMouseDown = [this](TMouseButton button, TShiftState shift, int x, int y) {
            events.push_back("down " + std::string(kButtons[static_cast<int>(button)]) + " " + std::to_string(shift) +
                             " " + std::to_string(x) + "," + std::to_string(y));
        };
        tray.OnMouseUp = [this](TMouseButton button, TShiftState shift, int, int) {
            events.push_back("up " + std::string(kButtons[static_cast<int>(button)]) + " " + std::to_string(shift));
        };
        tray.OnMouseMove = [this](TShiftState shift, int x, int y) {
            events.push_back("move " + std::to_string(shift) + " " + std::to_string(x) + "," + std::to_string(y));
        };
        tray.OnBalloonShow = [this] { events.push_back("balloon show"); };
        tray.OnBalloonHide = [this] { events.push_back("balloon hide"); };
        tray.OnBalloonTimeout = [this] { events.push_back("balloon timeout"); };
        tray.OnBalloonClick = [this] { events.push_back("balloon click"); };
    }

    RecordingShell shell;
    FakeHost host;
    std::vector<std::string> events;

private:
    std::unique_ptr<TTrayIcon> m_tray;
};

TEST(CutToUtf16Length, CountsUtf16UnitsAndNeverSplitsACharacter) {
    const std::string smile = "\xF0\x9F\x98\x80";  // U+1F600, a surrogate pair in UTF-16
    const struct {
        std::string text;
        size_t units;
        std::string expected;
    } cases[] = {
        {"", 5, ""},
        {"Nimbo!", 6, "Nimbo!"},
        {"Nimbo!", 3, "Nim"},
        {"şğüİıç", 4, "şğüİ"},    // two UTF-8 bytes each, one unit each
        {"ab" + smile, 3, "ab"},  // the pair would need units 3 and 4
        {"ab" + smile, 4, "ab" + smile},
        {"a\xC3", 5, "a\xEF\xBF\xBD"},                   // a cut-off sequence becomes U+FFFD
        {"\xFF\xFEok", 3, "\xEF\xBF\xBD\xEF\xBF\xBDo"},  // one U+FFFD, one unit, per bad byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutToUtf16Length(c.text, c.units), c.expected) << c.text << " / " << c.units;
    }
}

TEST_F(TrayIconTest, ConstructionFillsTheRecordAndShowsNothing) {
    const TrayNotifyData& data = Tray().NotifyData();
    EXPECT_EQ(data.window, kWindow);
    EXPECT_EQ(data.id, static_cast<uint32_t>(kWindow));
    EXPECT_EQ(data.flags, kNifMessage | kNifIcon | kNifTip);
    EXPECT_EQ(data.callbackMessage, 1025u);
    EXPECT_EQ(data.icon, 0u);
    EXPECT_EQ(data.tip, "Nimbo");  // the application's title until a hint is set
    EXPECT_EQ(data.timeout, 3000u);
    EXPECT_EQ(data.info, "");
    EXPECT_EQ(data.infoTitle, "");
    EXPECT_EQ(shell.Commands(), "");
    EXPECT_FALSE(Tray().Visible());
    EXPECT_FALSE(Tray().Animate());
    EXPECT_EQ(Tray().AnimateInterval(), 1000u);
    EXPECT_EQ(Tray().BalloonTimeout(), 3000u);
    EXPECT_EQ(Tray().BalloonFlags, TBalloonFlags::bfNone);
    EXPECT_EQ(Tray().IconIndex(), 0);
    EXPECT_EQ(Tray().Hint(), "");

    Destroy();  // removes the icon whether it was shown or not
    EXPECT_EQ(shell.Commands(), "D");
}

TEST_F(TrayIconTest, AnEmptyApplicationTitleLeavesNoTooltipAndALongOneIsCut) {
    host.title = "";
    EXPECT_EQ(Tray().NotifyData().flags, kNifMessage | kNifIcon);
    Destroy();
    host.title = std::string(200, 'T');
    EXPECT_EQ(Tray().NotifyData().tip, std::string(127, 'T'));
}

TEST_F(TrayIconTest, TextsAreCutToTheirRecordFields) {
    TTrayIcon& tray = Shown();
    tray.SetHint(std::string(200, 'h'));
    EXPECT_EQ(shell.Last().tip, std::string(127, 'h'));
    EXPECT_EQ(tray.Hint(), std::string(200, 'h'));  // the property keeps the whole text
    tray.SetBalloonHint(std::string(300, 'b'));
    EXPECT_EQ(shell.Last().info, std::string(255, 'b'));
    tray.SetBalloonTitle(std::string(100, 't'));
    EXPECT_EQ(shell.Last().infoTitle, std::string(63, 't'));

    // Turkish letters count one each; a pair that would straddle the end is left out whole.
    tray.SetHint("Nimbo! - " + std::string(59, 'x') + std::string(100, ' ') + "İstanbul");
    EXPECT_EQ(shell.Last().tip, "Nimbo! - " + std::string(59, 'x') + std::string(59, ' '));
    tray.SetBalloonTitle(std::string(62, 'a') + "\xF0\x9F\x98\x80");
    EXPECT_EQ(shell.Last().infoTitle, std::string(62, 'a'));
    tray.SetHint(std::string(140, '\xC5'));  // bad UTF-8 reaches the shell as U+FFFD, still 127 of them
    EXPECT_EQ(Utf8ToUtf16(shell.Last().tip), std::u16string(127, u'\uFFFD'));
}

TEST_F(TrayIconTest, HintSetsTheTooltipFlagAndAnEmptyHintRemovesTheShownTooltip) {
    TTrayIcon& tray = Shown();
    tray.SetHint("Nimbo! - İstanbul, Açık, 25°");
    ASSERT_EQ(shell.Commands(), "M");
    EXPECT_EQ(shell.Last().tip, "Nimbo! - İstanbul, Açık, 25°");
    EXPECT_TRUE(shell.Last().flags & kNifTip);

    tray.SetHint("Nimbo! - İstanbul, Açık, 25°");  // unchanged: no shell call
    EXPECT_EQ(shell.Commands(), "M");

    // The shell keeps an old tooltip unless the modify carries NIF_TIP, so the empty text goes out flagged once.
    tray.SetHint("");
    ASSERT_EQ(shell.Commands(), "MM");
    EXPECT_EQ(shell.Last().tip, "");
    EXPECT_TRUE(shell.Last().flags & kNifTip);
    EXPECT_FALSE(tray.NotifyData().flags & kNifTip);
    tray.SetHint("");
    EXPECT_EQ(shell.Commands(), "MM");

    tray.SetBalloonTimeout(10000);  // goes into the record only
    EXPECT_EQ(shell.Commands(), "MM");
    tray.SetIcon(MakeIcon(7));
    EXPECT_FALSE(shell.Last().flags & kNifTip);
    EXPECT_EQ(shell.Last().timeout, 10000u);
}

TEST_F(TrayIconTest, WhileHiddenChangesWaitInTheRecordForTheNextAdd) {
    TTrayIcon& tray = Tray();
    tray.SetHint("Nimbo!");
    tray.SetIcon(MakeIcon(42));
    EXPECT_EQ(shell.Commands(), "");
    tray.SetVisible(true);
    ASSERT_EQ(shell.Commands(), "A");
    EXPECT_EQ(shell.Last().tip, "Nimbo!");
    EXPECT_EQ(shell.Last().icon, 42u);
    tray.SetVisible(true);
    tray.SetVisible(false);
    tray.SetVisible(false);
    EXPECT_EQ(shell.Commands(), "AD");
}

TEST_F(TrayIconTest, StaticIconFallsBackToTheApplicationIcon) {
    TTrayIcon& tray = Tray();
    tray.SetVisible(true);  // no icon given, no animation
    EXPECT_EQ(shell.Last().icon, 0xA99u);
    EXPECT_EQ(tray.CurrentIcon(), host.applicationIcon);

    tray.SetIcon(MakeIcon(5));
    EXPECT_EQ(shell.Last().icon, 5u);

    // Removing the frames goes back to the static icon: the given one, else the application's.
    TrayIconFrames frames({MakeIcon(11), MakeIcon(12)});
    tray.SetIcons(&frames);
    tray.SetIconIndex(1);
    EXPECT_EQ(shell.Last().icon, 12u);
    tray.SetIcons(nullptr);
    EXPECT_EQ(shell.Last().icon, 5u);
    tray.SetIcon(nullptr);
    tray.SetIcons(nullptr);
    EXPECT_EQ(shell.Last().icon, 0xA99u);
    EXPECT_EQ(shell.Commands(), "AMMMMM");
}

TEST_F(TrayIconTest, IconIndexLoadsFramesAndIgnoresIndexesOutsideTheList) {
    TrayIconFrames frames({MakeIcon(11), MakeIcon(12), MakeIcon(13)});
    TTrayIcon& tray = Shown();
    tray.SetIcons(&frames);
    EXPECT_EQ(shell.Commands(), "");
    tray.SetIconIndex(2);
    EXPECT_EQ(shell.Last().icon, 13u);
    tray.SetIconIndex(2);  // unchanged
    EXPECT_EQ(shell.Commands(), "M");
    tray.SetIconIndex(7);
    tray.SetIconIndex(-1);
    EXPECT_EQ(shell.Last().icon, 13u);
    EXPECT_EQ(tray.IconIndex(), -1);
}

TEST_F(TrayIconTest, MouseNotificationsFireTheirEventsInOrder) {
    Shown();
    LogEvents();
    const TShiftState ctrl = ssCtrl;
    const struct {
        const char* name;
        std::vector<intptr_t> notifications;
        std::vector<std::string> expected;
    } cases[] = {
        {"left double click",
         {0x201, 0x202, 0x203, 0x202},
         {"down L " + std::to_string(ctrl | ssLeft) + " 640,470", "click", "up L " + std::to_string(ctrl | ssLeft),
          "dblclick", "up L " + std::to_string(ctrl | ssLeft)}},
        {"release without a press", {0x202}, {"up L " + std::to_string(ctrl | ssLeft)}},
        {"right double click",
         {0x204, 0x205, 0x206, 0x205},
         {"down R " + std::to_string(ctrl | ssRight) + " 640,470", "up R " + std::to_string(ctrl | ssRight), "dblclick",
          "up R " + std::to_string(ctrl | ssRight)}},
        {"middle double click",
         {0x207, 0x208, 0x209, 0x208},
         {"down M " + std::to_string(ctrl | ssMiddle) + " 640,470", "up M " + std::to_string(ctrl | ssMiddle),
          "dblclick", "up M " + std::to_string(ctrl | ssMiddle)}},
        {"move", {0x200}, {"move " + std::to_string(ctrl) + " 640,470"}},
        {"unknown notifications", {0x20A, 0x400, 0x401, -1}, {}},
    };
    for (const auto& c : cases) {
        events.clear();
        for (intptr_t n : c.notifications) Callback(n);
        EXPECT_EQ(events, c.expected) << c.name;
    }
    EXPECT_EQ(shell.Commands(), "");
}

TEST_F(TrayIconTest, ClickNeedsItsHandlerAtTheRelease) {
    // Without a click handler the press stays pending, as the release only clears it when it fires.
    TTrayIcon& tray = Shown();
    int clicks = 0;
    Callback(0x201);
    Callback(0x202);
    tray.OnClick = [&clicks] { ++clicks; };
    Callback(0x202);
    Callback(0x202);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, RightReleaseOpensThePopupMenuAtTheCursorAfterMouseUp) {
    TTrayIcon& tray = Shown();
    LogEvents();
    host.pointer = {0, 1270, 1010};
    Callback(0x205);  // no menu: only the event
    RecordingMenu menu(events);
    tray.PopupMenu = &menu;
    Callback(0x205);
    Callback(0x202);  // other buttons never open it
    Callback(0x208);
    EXPECT_THAT(events, ElementsAre("up R 16", "up R 16", "popup 1270,1010", "up L 8", "up M 32"));
}

// The welcome balloon came back with every later update of the icon after it had timed out.
TEST_F(TrayIconTest, ABalloonGoesOutOnceAndLaterUpdatesDoNotBringItBack) {
    TTrayIcon& tray = Shown();
    LogEvents();
    tray.SetBalloonTitle("Nimbo!");
    tray.SetBalloonHint("Nimbo! çalışıyor!");
    tray.SetBalloonTitle("Nimbo!");  // unchanged
    ASSERT_EQ(shell.Commands(), "MM");
    EXPECT_FALSE(shell.Last().flags & kNifInfo);  // setting the texts shows nothing yet
    EXPECT_EQ(shell.Last().info, "Nimbo! çalışıyor!");

    for (const intptr_t end : {kNinBalloonHide, kNinBalloonTimeout, kNinBalloonUserClick}) {
        tray.BalloonFlags = TBalloonFlags::bfWarning;
        tray.ShowBalloon();
        EXPECT_TRUE(shell.Last().flags & kNifInfo);
        EXPECT_EQ(shell.Last().infoFlags, 2u);
        EXPECT_EQ(shell.Last().infoTitle, "Nimbo!");

        Callback(kNinBalloonShow);
        tray.SetHint("hint " + std::to_string(end));
        EXPECT_FALSE(shell.Last().flags & kNifInfo) << end;
        Callback(end);
        tray.SetHint("after " + std::to_string(end));
        tray.SetVisible(false);
        tray.SetVisible(true);
        EXPECT_FALSE(shell.Last().flags & kNifInfo) << end;
    }
    EXPECT_THAT(events, ElementsAre("balloon show", "balloon hide", "balloon show", "balloon timeout", "balloon show",
                                    "balloon click"));
}

TEST_F(TrayIconTest, BalloonAskedForWhileHiddenComesWithTheAdd) {
    TTrayIcon& tray = Tray();
    tray.BalloonFlags = TBalloonFlags::bfInfo;
    tray.ShowBalloon();
    tray.SetVisible(true);
    EXPECT_EQ(shell.Commands(), "MA");
    EXPECT_TRUE(shell.Last().flags & kNifInfo);
    EXPECT_EQ(shell.Last().infoFlags, 1u);
    tray.SetHint("Nimbo! - Bağlantı yok");
    EXPECT_FALSE(shell.Last().flags & kNifInfo);
}

TEST_F(TrayIconTest, AnimationStepsThroughTheFramesOnTimerTicks) {
    TrayIconFrames frames({MakeIcon(11), MakeIcon(12), MakeIcon(13)});
    TTrayIcon& tray = Tray();
    int animateEvents = 0;
    tray.OnAnimate = [&animateEvents] { ++animateEvents; };
    tray.SetIcon(MakeIcon(5));
    tray.SetIcons(&frames);
    tray.SetAnimate(true);
    EXPECT_TRUE(host.timer.empty());  // not visible yet
    tray.SetVisible(true);
    EXPECT_THAT(host.timer, ElementsAre(1000u));
    EXPECT_EQ(shell.Last().icon, 5u);  // the frames start at the first tick

    std::vector<uintptr_t> shown;
    for (int tick = 0; tick < 4; ++tick) {
        EXPECT_EQ(tray.HandleTrayMessage(kWmTimer, kAnimationTimerId, 0), 0);
        shown.push_back(shell.Last().icon);
    }
    EXPECT_THAT(shown, ElementsAre(12u, 13u, 11u, 12u));
    EXPECT_EQ(animateEvents, 4);
    EXPECT_EQ(tray.HandleTrayMessage(kWmTimer, kAnimationTimerId + 1, 0), std::nullopt);  // someone else's timer

    tray.SetAnimateInterval(250);
    tray.SetVisible(false);
    EXPECT_THAT(host.timer, ElementsAre(1000u, 250u, 0u));

    // Switching animation off keeps the frame last shown as the static icon.
    tray.SetVisible(true);
    tray.SetAnimate(false);
    EXPECT_THAT(host.timer, ElementsAre(1000u, 250u, 0u, 250u, 0u));
    tray.SetVisible(false);
    tray.SetIcons(nullptr);
    tray.SetVisible(true);
    EXPECT_EQ(shell.Last().icon, 12u);
    EXPECT_EQ(tray.Icon(), tray.CurrentIcon());
}

TEST_F(TrayIconTest, AnimationWithoutFramesTicksAndStopsWhenSwitchedOff) {
    TTrayIcon& tray = Shown();
    int animateEvents = 0;
    tray.OnAnimate = [&animateEvents] { ++animateEvents; };
    tray.SetAnimate(true);
    EXPECT_TRUE(host.timer.empty());  // no frames: switching on alone does not start it
    tray.SetVisible(false);
    tray.SetVisible(true);
    EXPECT_THAT(host.timer, ElementsAre(1000u));
    tray.SetIconIndex(3);
    tray.AdvanceFrame();
    EXPECT_EQ(animateEvents, 1);
    EXPECT_EQ(tray.IconIndex(), 0);

    tray.SetAnimate(false);
    EXPECT_THAT(host.timer, ElementsAre(1000u, 0u));
}

TEST_F(TrayIconTest, SessionEndAnswersAndRemovesTheIcon) {
    TTrayIcon& tray = Shown();
    EXPECT_EQ(tray.HandleTrayMessage(kWmQueryEndSession, 0, 0), 1);
    EXPECT_EQ(tray.HandleTrayMessage(kWmEndSession, 0, 0), 0);  // the session goes on
    EXPECT_EQ(shell.Commands(), "");
    EXPECT_EQ(tray.HandleTrayMessage(kWmEndSession, 1, 0), 0);
    EXPECT_EQ(shell.Commands(), "D");
    EXPECT_EQ(tray.HandleTrayMessage(0x0001 /* WM_CREATE */, 0, 0), std::nullopt);
    EXPECT_EQ(tray.HandleTrayMessage(0x0400, 0, 0), std::nullopt);
}

TEST_F(TrayIconTest, NewShellGetsTheIconBackOnlyWhenVisible) {
    TTrayIcon& tray = Tray();
    tray.SetHint("Nimbo! - Ankara");
    EXPECT_EQ(tray.HandleTrayMessage(kTaskbarCreated, 0, 0), 0);
    EXPECT_EQ(shell.Commands(), "");

    tray.SetVisible(true);
    shell.calls.clear();
    tray.HandleTrayMessage(kTaskbarCreated, 0, 0);
    ASSERT_EQ(shell.Commands(), "A");
    EXPECT_EQ(shell.Last().tip, "Nimbo! - Ankara");
    EXPECT_EQ(shell.Last().icon, 0xA99u);

    tray.SetVisible(false);
    shell.calls.clear();
    tray.HandleTrayMessage(kTaskbarCreated, 0, 0);
    EXPECT_EQ(shell.Commands(), "");
}

TEST_F(TrayIconTest, UnknownTaskbarMessageMatchesNothing) {
    host.taskbarCreated = 0;
    TTrayIcon& tray = Shown();
    EXPECT_EQ(tray.HandleTrayMessage(0, 0, 0), std::nullopt);
    EXPECT_EQ(shell.Commands(), "");
}

}  // namespace
}  // namespace nimbo::testing
