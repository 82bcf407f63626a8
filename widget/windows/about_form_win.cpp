// The about window on Windows: composed once, shown and hidden with fades, its link opened by the shell.
#include "widget/windows/about_form_win.h"

#include "widget/face/spoken_summary.h"
#include "widget/web_page_win.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {

namespace {

constexpr wchar_t kAboutFormClass[] = L"TAboutForm";

bool Inside(const Placeholder& place, POINT point) {
    return point.x >= place.left && point.x < place.left + place.width && point.y >= place.top &&
           point.y < place.top + place.height;
}

}  // namespace

TAboutForm::TAboutForm(std::string projectsPageUrl, const std::string& webAddress, bool directWeather)
    : LayeredWindow("Nimbo!"),
      m_projectsPageUrl(std::move(projectsPageUrl)),
      m_layout(AboutFormLayout(webAddress, directWeather)) {}

bool TAboutForm::Create(HWND owner) {
    WindowCreation creation;
    creation.className = kAboutFormClass;
    // Its name for screen readers: the notice.
    creation.title = SpokenLines(m_layout.noticeLbl.text);
    creation.exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    creation.width = kAboutFaceWidth;
    creation.height = kAboutFaceHeight;
    creation.x = (GetSystemMetrics(SM_CXSCREEN) - kAboutFaceWidth) / 2;
    creation.y = (GetSystemMetrics(SM_CYSCREEN) - kAboutFaceHeight) / 2;
    creation.owner = owner;
    return Window::Create(creation);
}

// Made when the window is first shown: most runs never show it, and its surfaces are the largest of the three
// windows. Invisible until then: showing fades in or sets the alpha at once.
void TAboutForm::MakeFace() {
    m_painter = std::make_unique<FacePainter>(Handle(), kAboutFaceWidth, kAboutFaceHeight, AboutFacePictures(),
                                              kHiddenAlpha, WindowDpi(Handle()));
    const SizeI size = m_painter->PixelSize();
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - size.width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - size.height) / 2, size.width, size.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Compose();
}

void TAboutForm::Compose() {
    if (!m_painter) return;
    m_painter->Draw(ComposeAboutFace(m_layout, *m_painter));
    m_painter->Present();
    std::vector<HintArea> hints;
    AddHint(hints, m_layout.closeBtn);
    SetHints(hints);
}

void TAboutForm::ShowAbout(BYTE fullAlpha, bool fade) {
    m_fadeEffect = fade;
    if (!m_painter) MakeFace();
    if (!Visible()) ShowFaded(fullAlpha, m_fadeEffect);
    SetForegroundWindow(Handle());
}

void TAboutForm::HideAbout() {
    if (Visible()) HideFaded(m_fadeEffect);
}

bool TAboutForm::OnLink(POINT client) { return Inside(m_layout.webAddressLbl.place, LayoutPoint(client)); }

void TAboutForm::OpenProjectsPage() {
    if (!m_projectsPageUrl.empty()) OpenUrl(Handle(), m_projectsPageUrl);
}

bool TAboutForm::OnMouseDown(MouseButton button, POINT client) {
    // Every label but the link is disabled, so a press anywhere else, the close button too, hides the window.
    if (button == MouseButton::Left && OnLink(client)) {
        OpenProjectsPage();
    } else {
        HideAbout();
    }
    return true;
}

LRESULT TAboutForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kWmDpiChanged:
            TakeDpiChange(wParam, lParam);
            Compose();
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                HideAbout();
                return 0;
            }
            break;
        case WM_SETCURSOR: {
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(Handle(), &cursor);
            if (LOWORD(lParam) == HTCLIENT && OnLink(cursor)) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        }
    }
    return Default(message, wParam, lParam);
}

}  // namespace nimbo
