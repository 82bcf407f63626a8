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

}  // namespace
}  // namespace nimbo
