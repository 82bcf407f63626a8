// The window base binds its object for the window's life, hands messages to named handlers, keeps every
// exception inside the window procedure and never lets a message reach a freed object.
#include "base/window_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace nimbo {
namespace {

constexpr WORD kThrowingCommand = 1;
constexpr WORD kThrowingNonStandard = 2;

class ProbeWindow : public Window {
public:
    ProbeWindow() : Window("probe") {}
    bool Make() {
        WindowCreation creation;
        creation.className = L"NimboWindowBaseProbe";
        creation.title = "About...";
        creation.exStyle = WS_EX_TOOLWINDOW;
        creation.width = creation.height = 10;
        return Create(creation);
    }

    int creates = 0;
    int destroys = 0;
    std::vector<WORD> commands;
    std::vector<UINT_PTR> timers;
    mutable std::vector<std::string> errors;

protected:
    bool OnCreate() override {
        ++creates;
        return true;
    }
    void OnDestroy() override { ++destroys; }
    bool OnCommand(WORD id) override {
        if (id == kThrowingCommand) throw std::runtime_error("handler failed");
        if (id == kThrowingNonStandard) throw 42;
        commands.push_back(id);
        return true;
    }
    bool OnTimer(UINT_PTR id) override {
        timers.push_back(id);
        return true;
    }
    void ShowError(const std::exception& error) const override { errors.emplace_back(error.what()); }
};

class WindowBase : public ::testing::Test {
protected:
    void SetUp() override {
        const HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no window can be made here: Wine needs a display (DISPLAY) for windows";
        DestroyWindow(probe);
    }
};

TEST_F(WindowBase, BindsAtCreationHandsMessagesToNamedHandlersAndUnbindsAtDestruction) {
    ProbeWindow window;
    ASSERT_TRUE(window.Make());
    const HWND hwnd = window.Handle();
    EXPECT_EQ(window.creates, 1);
    wchar_t title[32] = {};
    GetWindowTextW(hwnd, title, 32);
    EXPECT_STREQ(title, L"About...");
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, 0), 0);
    SendMessageW(hwnd, WM_TIMER, 3, 0);
    EXPECT_EQ(window.commands, std::vector<WORD>{7});
    EXPECT_EQ(window.timers, std::vector<UINT_PTR>{3});

    DestroyWindow(hwnd);
    EXPECT_EQ(window.destroys, 1);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowBase, AThrowingHandlerIsReportedAndTheWindowGoesOn) {
    ProbeWindow window;
    ASSERT_TRUE(window.Make());
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(kThrowingCommand, 0), 0);
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(kThrowingNonStandard, 0), 0);
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(9, 0), 0);
    EXPECT_EQ(window.errors, (std::vector<std::string>{"handler failed", "Beklenmeyen bir hata oluştu"}));
    EXPECT_EQ(window.commands, std::vector<WORD>{9});
}

TEST_F(WindowBase, AnObjectFreedBeforeItsWindowTakesTheWindowWithIt) {
    HWND hwnd = nullptr;
    {
        auto window = std::make_unique<ProbeWindow>();
        ASSERT_TRUE(window->Make());
        hwnd = window->Handle();
    }
    EXPECT_FALSE(IsWindow(hwnd));
    // A message to the old handle finds nothing to call.
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(7, 0), 0);
}

}  // namespace
}  // namespace nimbo
