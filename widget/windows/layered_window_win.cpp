// The layered-window base of the main face, the information window and the about window.
#include "widget/windows/layered_window_win.h"

#include <windowsx.h>

#include "base/wide_text_win.h"

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

void LayeredWindow::SetMouseCapture(bool on) {
    if (on) {
        SetCapture(Handle());
    } else if (GetCapture() == Handle()) {
        ReleaseCapture();
    }
}

ScreenPoint LayeredWindow::DragThreshold() { return {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)}; }

void LayeredWindow::SetTopMost(bool topMost) {
    SetWindowPos(Handle(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void LayeredWindow::SetHints(const std::vector<HintArea>& areas) {
    const FacePainter* painter = Painter();
    m_hints.SetAreas(painter ? ScaledHints(areas, painter->Scale()) : areas);
}

void LayeredWindow::FitToFace() {
    const FacePainter* painter = Painter();
    if (!painter) return;
    const SizeI size = painter->PixelSize();
    SetWindowPos(Handle(), nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayeredWindow::TakeDpiChange(WPARAM wParam, LPARAM lParam) {
    FacePainter* painter = Painter();
    if (!painter) return;
    painter->SetDpi(HIWORD(wParam));
    const auto* suggested = reinterpret_cast<const RECT*>(lParam);
    const SizeI size = painter->PixelSize();
    if (suggested) {
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, size.width, size.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        FitToFace();
    }
}

POINT LayeredWindow::LayoutPoint(POINT client) {
    const FacePainter* painter = Painter();
    if (!painter) return client;
    return {painter->Scale().Units(client.x), painter->Scale().Units(client.y)};
}

void LayeredWindow::SetAccessibleName(const std::string& name) {
    if (name == m_accessibleName) return;
    m_accessibleName = name;
    SetWindowTextW(Handle(), Widen(name).c_str());
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
