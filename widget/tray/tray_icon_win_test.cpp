// The tray icon's Windows side under Wine: the shell record, the hidden window, the shell and the popup menu.
#include "widget/tray/tray_icon_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace nimbo::testing {
namespace {

using ::testing::ElementsAre;

// Runs this thread's messages until `done` holds; false when the deadline passes first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

class CountingShell final : public TrayShell {
public:
    bool Add(const TrayNotifyData&) override { return Record('A'); }
    bool Modify(const TrayNotifyData&) override { return Record('M'); }
    bool Delete(const TrayNotifyData&) override { return Record('D'); }
    std::string commands;

private:
    bool Record(char command) {
        commands += command;
        return true;
    }
};

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// A window that notes the messages a popup menu sends to its owner.
class CommandWindow final : public Window {
public:
    CommandWindow() : Window("Nimbo!") {
        WindowCreation creation;
        creation.className = L"NimboTrayTestCommandWindow";
        creation.width = creation.height = 10;
        Create(creation);
    }
    std::vector<UINT> seen;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITMENUPOPUP || message == WM_NULL) seen.push_back(message);
        return Default(message, wParam, lParam);
    }
};

// Wine makes no window at all without a display ("no driver could be loaded"), so the tests that need the
// hidden window skip there; run them with DISPLAY set (xvfb-run).
class TrayIconWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no window can be made here: Wine needs a display (DISPLAY) for windows";
        DestroyWindow(probe);
    }
};

TEST(TrayIconWin, RecordKeepsTheXpLayoutAndFitsEveryText) {
    EXPECT_EQ(kNotifyIconDataSize, sizeof(void*) == 8 ? 968u : 956u);
    EXPECT_LE(kNotifyIconDataSize, sizeof(NOTIFYICONDATAW));

    TrayNotifyData data;
    data.window = 0x1234;
    data.id = 0x1234;
    data.flags = kNifMessage | kNifIcon | kNifTip | kNifInfo;
    data.callbackMessage = kTrayCallbackMessage;
    data.icon = 0x99;
    data.tip = CutToUtf16Length(std::string(130, 'x') + "ş", kTipLength);
    data.info = "Nimbo! çalışıyor! Hemen bulunduğunuz ili seçin ve\r\ntam beş günlük";
    data.timeout = 3000;
    data.infoTitle = std::string(63, 'a') + "\xF0\x9F\x98\x80";  // too long: cut here too, never half a pair
    data.infoFlags = 1;
    const NOTIFYICONDATAW record = ToNotifyIconData(data);
    EXPECT_EQ(record.cbSize, kNotifyIconDataSize);
    EXPECT_EQ(record.hWnd, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(record.uID, 0x1234u);
    EXPECT_EQ(record.uFlags, 0x17u);
    EXPECT_EQ(record.uCallbackMessage, 1025u);
    EXPECT_EQ(record.hIcon, reinterpret_cast<HICON>(0x99));
    EXPECT_EQ(std::wstring(record.szTip), std::wstring(127, L'x'));
    EXPECT_EQ(std::wstring(record.szInfo), L"Nimbo! çalışıyor! Hemen bulunduğunuz ili seçin ve\r\ntam beş günlük");
    EXPECT_EQ(record.uTimeout, 3000u);
    EXPECT_EQ(std::wstring(record.szInfoTitle), std::wstring(63, L'a'));
    EXPECT_EQ(record.dwInfoFlags, 1u);
}

TEST_F(TrayIconWindow, HiddenWindowLivesAsLongAsTheIcon) {
    HWND window = nullptr;
    {
        TrayIconWin tray("Nimbo!", LoadIconW(nullptr, IDI_APPLICATION));
        window = tray.HiddenWindow();
        ASSERT_TRUE(IsWindow(window));
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(GetParent(window), nullptr);  // top-level, so broadcasts reach it
        EXPECT_EQ(tray->NotifyData().window, reinterpret_cast<uintptr_t>(window));
        EXPECT_EQ(tray->NotifyData().tip, "Nimbo!");
        EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), 1);
        SendMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(TrayIconWindow, PostedCallbackMessagesFireTheEventsInOrder) {
    TrayIconWin tray("Nimbo!", LoadIconW(nullptr, IDI_APPLICATION));
    std::vector<std::string> events;
    tray->OnMouseDown = [&events](TMouseButton, TShiftState shift, int, int) {
        events.push_back("down" + std::string(shift & ssLeft ? " left" : ""));
    };
    tray->OnMouseUp = [&events](TMouseButton, TShiftState, int, int) { events.push_back("up"); };
    tray->OnClick = [&events] { events.push_back("click"); };
    tray->OnDblClick = [&events] { events.push_back("dblclick"); };
    for (const LPARAM notification : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        ASSERT_TRUE(PostMessageW(tray.HiddenWindow(), kTrayCallbackMessage, 0, notification));
    }
    ASSERT_TRUE(PumpUntil([&events] { return events.size() >= 5; }));
    EXPECT_THAT(events, ElementsAre("down left", "click", "up", "dblclick", "up"));
}

TEST_F(TrayIconWindow, TaskbarCreatedMessageAddsTheShownIconAgain) {
    TrayWindowWin window("Nimbo!", nullptr);
    ASSERT_TRUE(window.Create());
    ASSERT_NE(window.TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(window.TaskbarCreatedMessage(), RegisterWindowMessageW(L"TaskbarCreated"));
    CountingShell shell;
    TTrayIcon tray(shell, window);
    window.SetTarget(&tray);

    const auto newShell = [&window] { SendMessageW(window.Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0); };
    newShell();
    EXPECT_EQ(shell.commands, "");
    tray.SetVisible(true);
    newShell();
    EXPECT_EQ(shell.commands, "AA");
    tray.SetVisible(false);
    newShell();
    EXPECT_EQ(shell.commands, "AAD");
    window.SetTarget(nullptr);
}

TEST_F(TrayIconWindow, AnimationTimerStepsTheFrames) {
    TrayIconWin tray("Nimbo!", LoadIconW(nullptr, IDI_APPLICATION));
    TrayIconFrames frames(
        {SharedTrayIcon(LoadIconW(nullptr, IDI_INFORMATION)), SharedTrayIcon(LoadIconW(nullptr, IDI_WARNING))});
    int ticks = 0;
    tray->OnAnimate = [&ticks] { ++ticks; };
    tray->SetIcons(&frames);
    tray->SetAnimateInterval(10);
    tray->SetAnimate(true);
    tray->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&ticks] { return ticks >= 3; }));
    EXPECT_NE(tray->NotifyData().icon, 0u);
    tray->SetVisible(false);
    tray->SetIcons(nullptr);
}

TEST_F(TrayIconWindow, ShellAcceptsAddModifyAndDelete) {
    // Wine's tray window comes from explorer.exe's desktop, which needs a display.
    if (!FindWindowW(L"Shell_TrayWnd", nullptr)) GTEST_SKIP() << "no Shell_TrayWnd: the tray needs a display";
    TrayWindowWin window("Nimbo!", SharedTrayIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    ASSERT_TRUE(window.Create());
    TrayNotifyData data;
    data.window = window.HiddenWindow();
    data.id = 7;
    data.flags = kNifMessage | kNifIcon | kNifTip;
    data.callbackMessage = kTrayCallbackMessage;
    data.icon = window.ApplicationIcon()->Handle();
    data.tip = "Nimbo! - İstanbul, Açık, 25°";
    ShellNotifyIconWin shell;
    EXPECT_TRUE(shell.Add(data));
    data.tip = "Nimbo!";
    EXPECT_TRUE(shell.Modify(data));
    EXPECT_TRUE(shell.Delete(data));
    EXPECT_FALSE(shell.Modify(data));  // gone
}

TEST_F(TrayIconWindow, PopupMenuOpensInFrontOfItsCommandWindow) {
    CommandWindow owner;
    ASSERT_TRUE(owner.Handle());
    UniqueMenu menu(CreatePopupMenu());
    AppendMenuW(menu.Get(), MF_STRING, 100, L"Çıkış");
    TrayPopupMenuWin popup(std::move(menu), owner.Handle());
    // The menu runs its own loop; a thread timer dispatched there closes it.
    const UINT_PTR closer = SetTimer(nullptr, 0, 50, CloseMenu);
    popup.Popup(100, 100);
    KillTimer(nullptr, closer);
    ASSERT_TRUE(PumpUntil([&owner] { return owner.seen.size() >= 2; }));
    EXPECT_THAT(owner.seen, ElementsAre(static_cast<UINT>(WM_INITMENUPOPUP), static_cast<UINT>(WM_NULL)));
}

}  // namespace
}  // namespace nimbo::testing
