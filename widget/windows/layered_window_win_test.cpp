// The layered-window class: fades and presents reach their targets, hibernation's click-through style is added
// and taken away again without losing the style the window had, a new DPI resizes the window and its face, and
// its text is what screen readers read.
#include "widget/windows/layered_window_win.h"

#include <gtest/gtest.h>

#include "base/gdiplus_session_win.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {
namespace {

class ProbeFace final : public LayeredWindow {
public:
    ProbeFace() : LayeredWindow("probe") {}
    bool Make(DWORD exStyle) {
        WindowCreation creation;
        creation.className = L"NimboLayeredProbe";
        creation.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | exStyle;
        creation.width = creation.height = 16;
        return Create(creation);
    }
    DWORD ExStyle() const { return static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)); }

    using LayeredWindow::FadeTo;
    using LayeredWindow::HideFaded;
    using LayeredWindow::LayoutPoint;
    using LayeredWindow::SavedExStyle;
    using LayeredWindow::SetAccessibleName;
    using LayeredWindow::SetHibernating;
    using LayeredWindow::ShowFaded;

private:
    bool OnCreate() override {
        m_painter = std::make_unique<FacePainter>(Handle(), 16, 16, std::vector<std::string>{}, kHiddenAlpha);
        return true;
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != kWmDpiChanged) return Default(message, wParam, lParam);
        TakeDpiChange(wParam, lParam);
        return 0;
    }
    FacePainter* Painter() override { return m_painter.get(); }

public:
    std::unique_ptr<FacePainter> m_painter;
};

class LayeredWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_face.Make(0)) GTEST_SKIP() << "no window can be made here: Wine needs a display (DISPLAY) for windows";
    }
    GdiplusSession m_gdiplus;
    ProbeFace m_face;
};

TEST_F(LayeredWindowTest, ShowsAndHidesWithOrWithoutFading) {
    for (const bool fade : {true, false}) {
        m_face.ShowFaded(kHibernateAlpha, fade);
        EXPECT_TRUE(m_face.Visible());
        EXPECT_EQ(m_face.Alpha(), kHibernateAlpha);
        m_face.FadeTo(kFullAlpha, fade);
        EXPECT_EQ(m_face.Alpha(), kFullAlpha);
        m_face.HideFaded(fade);
        EXPECT_FALSE(m_face.Visible());
        // Hidden at once without fading: the next showing sets the alpha itself.
        EXPECT_EQ(m_face.Alpha(), fade ? kHiddenAlpha : kFullAlpha);
    }
}

TEST_F(LayeredWindowTest, HibernationLetsTheMouseThroughAndGivesTheOldStyleBack) {
    const DWORD awake = m_face.ExStyle();
    m_face.SetHibernating(false, kFullAlpha, false);  // never hibernated: nothing to restore
    EXPECT_EQ(m_face.ExStyle(), awake);

    m_face.SetHibernating(true, kHibernateAlpha, false);
    EXPECT_EQ(m_face.SavedExStyle(), awake);
    EXPECT_EQ(m_face.ExStyle(), awake | WS_EX_TRANSPARENT);
    EXPECT_EQ(m_face.Alpha(), kHibernateAlpha);

    m_face.SetHibernating(false, kFullAlpha, true);
    EXPECT_EQ(m_face.ExStyle(), awake);
    EXPECT_EQ(m_face.Alpha(), kFullAlpha);
}

TEST(LayeredWindow, AWindowAlreadyClickThroughHibernatesAsItIs) {
    GdiplusSession gdiplus;
    ProbeFace face;
    if (!face.Make(WS_EX_TRANSPARENT)) GTEST_SKIP() << "no window can be made here";
    face.FadeTo(kFullAlpha, false);
    face.SetHibernating(true, kHibernateAlpha, false);
    EXPECT_EQ(face.Alpha(), kFullAlpha);
    face.SetHibernating(false, kFullAlpha, false);
    EXPECT_NE(face.ExStyle() & WS_EX_TRANSPARENT, 0u);
}

TEST_F(LayeredWindowTest, ANewDpiTakesTheSuggestedPlaceAndScalesTheFace) {
    // Dragged onto a monitor at 150 %: the system suggests a place and a size.
    RECT suggested{300, 200, 325, 226};
    SendMessageW(m_face.Handle(), kWmDpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT rect{};
    GetWindowRect(m_face.Handle(), &rect);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.right - rect.left, 24);  // the face's 16 units at 1.5, not the suggested 25
    EXPECT_EQ(rect.bottom - rect.top, 24);
    EXPECT_EQ(m_face.m_painter->Scale().Dpi(), 144);
    EXPECT_EQ(m_face.m_painter->Pixels().width, 24);
    const POINT unit = m_face.LayoutPoint({23, 23});
    EXPECT_EQ(unit.x, 15);
    EXPECT_EQ(unit.y, 15);
    EXPECT_TRUE(m_face.m_painter->Present());
}

TEST_F(LayeredWindowTest, ItsTextIsItsAccessibleName) {
    m_face.SetAccessibleName("Nimbo! İstanbul, 6°, Yağışlı.");
    wchar_t text[64] = {};
    GetWindowTextW(m_face.Handle(), text, 64);
    EXPECT_EQ(std::wstring(text), L"Nimbo! İstanbul, 6°, Yağışlı.");
}

}  // namespace
}  // namespace nimbo
