// The information window on Windows: creation, redraw, showing and hiding, dragging and hibernation.
#include "widget/windows/info_text_form_win.h"

namespace nimbo {

namespace {

constexpr wchar_t kInfoTextFormClass[] = L"TInfoTextForm";

}  // namespace

TInfoTextForm::TInfoTextForm(InfoTextHost& host) : LayeredWindow("Nimbo!"), m_host(host) {}

bool TInfoTextForm::Create(HWND owner, int left, int top) {
    m_inputs = m_host.InfoInputs();
    WindowCreation creation;
    creation.className = kInfoTextFormClass;
    creation.title = "Nimbo! Bilgi";
    creation.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    creation.x = left;
    creation.y = top;
    creation.width = kInfoFaceWidth;
    creation.height = kInfoFaceHeight;
    creation.owner = owner;
    m_position = {left, top};
    if (!Window::Create(creation)) return false;
    Redraw();
    SetTopMost(m_inputs.settings.alwaysTop);
    return true;
}

bool TInfoTextForm::OnCreate() {
    const BYTE alpha = m_inputs.settings.fadeEffect ? kHiddenAlpha : m_host.FullAlpha();
    m_painter = std::make_unique<FacePainter>(Handle(), kInfoFaceWidth, kInfoFaceHeight, InfoFacePictures(), alpha);
    return true;
}

void TInfoTextForm::Redraw() {
    if (!m_painter) return;
    m_inputs = m_host.InfoInputs();
    m_inputs.active = m_active;
    m_painter->Draw(ComposeInfoFace(m_layout, m_inputs, *m_painter));
    m_painter->Present();
    std::vector<HintArea> hints;
    if (m_layout.closeBtn.enabled) AddHint(hints, m_layout.closeBtn);
    SetHints(hints);
}

void TInfoTextForm::ShowInfo() {
    if (!Visible()) ShowFaded(m_host.FullAlpha(), m_inputs.settings.fadeEffect);
}

void TInfoTextForm::HideInfo() {
    if (Visible()) HideFaded(m_inputs.settings.fadeEffect);
}

void TInfoTextForm::Hibernate(bool on) { SetHibernating(on, m_host.FullAlpha(), m_inputs.settings.fadeEffect); }

bool TInfoTextForm::OnCloseButton(POINT client) const {
    const Placeholder& close = m_layout.closeBtn;
    return close.enabled && close.visible && client.x >= close.left && client.x < close.left + close.width &&
           client.y >= close.top && client.y < close.top + close.height;
}

bool TInfoTextForm::OnMouseDown(MouseButton button, POINT client) {
    if (button == MouseButton::Left && OnCloseButton(client)) {
        m_host.InfoCloseClicked();
        return true;
    }
    if (!m_active) {
        m_active = true;
        SetTopMost(m_inputs.settings.alwaysTop);
        Redraw();
    }
    if (button != MouseButton::Left) return false;
    DragMove();
    Redraw();
    return true;
}

LRESULT TInfoTextForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOVE) {
        // A frameless window's client origin is its position.
        RECT rect{};
        if (GetWindowRect(Handle(), &rect)) m_position = {rect.left, rect.top};
    }
    // Deactivated: the close button is no longer drawn.
    if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && m_active) {
        m_active = false;
        Redraw();
    }
    return Default(message, wParam, lParam);
}

}  // namespace nimbo
