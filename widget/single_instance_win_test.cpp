// The single-instance pieces against the real system: the mutex's creation error and the window search.
#include "widget/single_instance_win.h"

#include <gtest/gtest.h>

#include "base/window_win.h"
#include "widget/start_up.h"

namespace nimbo {
namespace {

TEST(InstanceMutex, ASecondCreationReportsThatItAlreadyExists) {
    InstanceMutex first;
    EXPECT_NE(first.CreationError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    InstanceMutex second;
    EXPECT_EQ(second.CreationError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

class ProbeWindow final : public Window {
public:
    ProbeWindow() : Window("probe") {}
    bool Make(const wchar_t* className) {
        WindowCreation creation;
        creation.className = className;
        creation.exStyle = WS_EX_TOOLWINDOW;
        creation.width = creation.height = 10;
        return Create(creation);
    }
};

TEST(FindWidgetWindow, MatchesTheClassExactlyAndTheProgramsFileName) {
    ProbeWindow window;
    if (!window.Make(L"TNimboProbeForm")) GTEST_SKIP() << "no window can be made here: Wine needs a display";
    const std::wstring self = OwnModuleFileName();
    EXPECT_FALSE(self.empty());
    EXPECT_EQ(WindowModuleFileName(window.Handle()), self);
    EXPECT_EQ(FindWidgetWindow(L"TNimboProbeForm", self), window.Handle());
    EXPECT_EQ(FindWidgetWindow(L"tnimboprobeform", self), nullptr);
    EXPECT_EQ(FindWidgetWindow(L"TNimboProbeForm", self + L"x"), nullptr);
    EXPECT_EQ(FindWidgetWindow(L"TNimboNoSuchForm", self), nullptr);
}

// A widget whose thread has stopped reading messages: "-exit" gives up after its time instead of hanging.
TEST(CloseWidgetWindow, AWidgetThatDoesNotAnswerHoldsNobodyUp) {
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hung = nullptr;
    struct Hung {
        HANDLE created, release;
        HWND* window;
    } context{created, release, &hung};
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* hungContext = static_cast<Hung*>(parameter);
            *hungContext->window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"hung", WS_POPUP, 0, 0, 10, 10,
                                                   nullptr, nullptr, nullptr, nullptr);
            SetEvent(hungContext->created);
            WaitForSingleObject(hungContext->release, INFINITE);  // no messages are read meanwhile
            DestroyWindow(*hungContext->window);
            return 0;
        },
        &context, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(created, INFINITE);
    if (!hung) {
        SetEvent(release);
        WaitForSingleObject(thread, INFINITE);
        GTEST_SKIP() << "no window can be made here: Wine needs a display";
    }
    EXPECT_FALSE(CloseWidgetWindow(hung, 500));
    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    for (const HANDLE handle : {thread, created, release}) CloseHandle(handle);
}

}  // namespace
}  // namespace nimbo
