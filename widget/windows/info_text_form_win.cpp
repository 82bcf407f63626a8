// The information window on Windows: creation, redraw, showing and hiding, clicks and moves, and hibernation.
#include "widget/windows/info_text_form_win.h"

#include <windowsx.h>

#include <utility>

#include "widget/face/spoken_summary.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {

namespace {

constexpr wchar_t kInfoTextFormClass[] = L"TInfoTextForm";

}  // namespace

TInfoTextForm::TInfoTextForm(std::function<void()> onClose) : LayeredWindow("Nimbo!"), m_onClose(std::move(onClose)) {}

bool TInfoTextForm::Create(HWND owner) {
    WindowCreation creation;
    creation.className = kInfoTextFormClass;
    creation.title = "Nimbo! Bilgi";
    creation.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    creation.x = m_position.x;
    creation.y = m_position.y;
    creation.width = kInfoFaceWidth;
    creation.height = kInfoFaceHeight;
    creation.owner = owner;
    return Window::Create(creation);
}

bool TInfoTextForm::OnCreate() {
    // Invisible until shown: showing fades in or sets the alpha at once.
    m_painter = std::make_unique<FacePainter>(Handle(), kInfoFaceWidth, kInfoFaceHeight, InfoFacePictures(),
                                              kHiddenAlpha, WindowDpi(Handle()));
    FitToFace();
    return true;
}

void TInfoTextForm::Redraw(const InfoFaceInputs& inputs) {
    m_inputs = inputs;
    Draw();
    const std::string lines = SpokenLines(inputs.text);
    SetAccessibleName(lines.empty() ? kInfoHeaderText : lines);
}

void TInfoTextForm::Draw() {
    if (!m_painter) return;
    m_inputs.active = m_active;
    // A longer text grows the window downwards; its surface is made anew at the new height.
    const int height = InfoFaceHeight(m_inputs, *m_painter);
    if (height != m_height) {
        m_painter = std::make_unique<FacePainter>(Handle(), kInfoFaceWidth, height, InfoFacePictures(),
                                                  m_painter->Alpha(), m_painter->Scale().Dpi());
        m_height = height;
        FitToFace();
    }
    m_painter->Draw(ComposeInfoFace(m_layout, m_inputs, *m_painter));
    m_painter->Present();
    std::vector<HintArea> hints;
    if (m_layout.closeBtn.enabled) AddHint(hints, m_layout.closeBtn);
    SetHints(hints);
}

void TInfoTextForm::ShowInfo(BYTE fullAlpha, bool fade) {
    if (!Visible()) ShowFaded(fullAlpha, fade);
}

void TInfoTextForm::HideInfo(bool fade) {
    if (Visible()) HideFaded(fade);
}

void TInfoTextForm::MoveTo(int left, int top) {
    m_position = {left, top};
    if (Handle()) SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ScreenRect TInfoTextForm::Rect() const {
    const SizeI size = m_painter ? m_painter->PixelSize() : SizeI{kInfoFaceWidth, kInfoFaceHeight};
    return {m_position.x, m_position.y, m_position.x + size.width, m_position.y + size.height};
}

bool TInfoTextForm::OnCloseButton(POINT client) {
    const Placeholder& close = m_layout.closeBtn;
    client = LayoutPoint(client);
    return close.enabled && close.visible && client.x >= close.left && client.x < close.left + close.width &&
           client.y >= close.top && client.y < close.top + close.height;
}

bool TInfoTextForm::OnMouseDown(MouseButton button, POINT client) {
    // The close button shows, and so can be clicked, only while the window is active.
    const FaceButton shown = OnCloseButton(client) ? FaceButton::Exit : FaceButton::None;
    if (!m_active) {
        m_active = true;
        SetTopMost(m_inputs.settings.alwaysTop);
        Draw();
    }
    if (button != MouseButton::Left) return false;
    m_press.Press(shown, MessagePoint(), {m_position.x, m_position.y});
    SetMouseCapture(true);
    return true;
}

void TInfoTextForm::OnMouseMove(POINT client) {
    LayeredWindow::OnMouseMove(client);
    // The key state as it was when this message was posted: a release that went elsewhere ends the press.
    if (GetKeyState(VK_LBUTTON) >= 0) {
        m_press.Cancel();
    } else if (const auto corner = m_press.Move(MessagePoint(), DragThreshold())) {
        MoveTo(corner->x, corner->y);
    }
}

LRESULT TInfoTextForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP && m_press.Pressed()) {
        const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const FaceButton clicked = m_press.Release(OnCloseButton(client) ? FaceButton::Exit : FaceButton::None);
        SetMouseCapture(false);
        if (clicked == FaceButton::Exit) m_onClose();
        return 0;
    }
    if (message == WM_MOVE) {
        // A frameless window's client origin is its position.
        RECT rect{};
        if (GetWindowRect(Handle(), &rect)) m_position = {rect.left, rect.top};
    }
    if (message == kWmDpiChanged) {
        TakeDpiChange(wParam, lParam);
        Draw();
        return 0;
    }
    // Deactivated: the close button is no longer drawn.
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && m_active) {
        m_active = false;
        Draw();
    }
    return Default(message, wParam, lParam);
}

}  // namespace nimbo
