// TAboutForm: the about window, a layered face composed once, centred on the desktop.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "widget/face/about_face.h"
#include "widget/windows/layered_window_win.h"

namespace nimbo {

class TAboutForm final : public LayeredWindow {
public:
    // `projectsPageUrl` is what the link opens; `webAddress` what it shows.
    TAboutForm(std::string projectsPageUrl, const std::string& webAddress, bool directWeather);

    // Creates the hidden window owned by `owner`; its face is made when it is first shown.
    bool Create(HWND owner);
    // Fades in to `fullAlpha` and takes the keyboard, so that Escape reaches it; it fades out the same way.
    void ShowAbout(BYTE fullAlpha, bool fade);
    void HideAbout();

private:
    bool OnMouseDown(MouseButton button, POINT client) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    FacePainter* Painter() override { return m_painter.get(); }
    bool OnLink(POINT client);
    void MakeFace();
    // Composes, presents and sets the close button's hint.
    void Compose();
    void OpenProjectsPage();

    std::string m_projectsPageUrl;
    AboutFaceLayout m_layout;
    std::unique_ptr<FacePainter> m_painter;
    bool m_fadeEffect = true;
};

}  // namespace nimbo
