// The layered-window base of the main face, the information window and the about window.
#include "widget/windows/layered_window_win.h"

#include <windowsx.h>

namespace nimbo {

namespace {

DWORD ExStyle(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }

}  // namespace

BYTE LayeredWindow::Alpha() {
    const FacePainter* painter = Painter();
    return painter ? painter->Alpha() : kHiddenAlpha;
}

void LayeredWindow::ShowFaded(BYTE fullAlpha, bool fade) {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    FadeTo(fullAlpha, fade);
}

void LayeredWindow::HideFaded(bool fade) {
    if (fade && Visible()) FadeTo(kHiddenAlpha, true);
    ShowWindow(Handle(), SW_HIDE);
}

void LayeredWindow::FadeTo(BYTE target, bool fade) {
    FacePainter* painter = Painter();
    if (!painter) return;
    if (!fade) {
        painter->SetAlpha(target);
        painter->Present();
    } else if (target > painter->Alpha()) {
        painter->FadeIn(target);
    } else {
        painter->FadeOut(target);
    }
}

ScreenPoint LayeredWindow::MessagePoint() {
    const DWORD position = GetMessagePos();
    return {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
}

ScreenPoint LayeredWindow::DragThreshold() { return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)}; }

void LayeredWindow::SetTopMost(bool topMost) {
    SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void LayeredWindow::SetHibernating(bool on, BYTE fullAlpha, bool fade) {
    if (on) {
        m_savedExStyle = ExStyle(Handle());
        // Already click-through: it hibernates as it is.
        if (m_savedExStyle & WS_EX_TRANSPARENT) return;
        FadeTo(fullAlpha, fade);
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, m_savedExStyle | WS_EX_TRANSPARENT);
    } else if (m_savedExStyle != 0) {
        FadeTo(fullAlpha, fade);
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, m_savedExStyle);
    }
}

}  // namespace nimbo
