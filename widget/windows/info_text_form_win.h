// TInfoTextForm: the information window, a second layered face that lists the chosen information lines.
#pragma once

#include <windows.h>

#include <memory>

#include "widget/face/info_face.h"
#include "widget/windows/layered_window_win.h"

namespace nimbo {

// What the information window reads from the main window and tells it.
class InfoTextHost {
public:
    virtual ~InfoTextHost() = default;
    // The text, settings and connection state as they are now.
    virtual InfoFaceInputs InfoInputs() = 0;
    virtual BYTE FullAlpha() const = 0;
    // CloseBtnClick: the main window switches the information window off.
    virtual void InfoCloseClicked() = 0;
};

class TInfoTextForm final : public LayeredWindow {
public:
    explicit TInfoTextForm(InfoTextHost& host);

    // Creates the hidden window at (`left`, `top`), owned by `owner`, and draws it once.
    bool Create(HWND owner, int left, int top);

    void Redraw();
    // Fades in to FullAlpha if hidden; fades out and hides if shown.
    void ShowInfo();
    void HideInfo();
    // Takes the main window's hibernation state.
    void Hibernate(bool on);
    // Kept as the window moves, so it is known even after the system destroyed the window with its owner.
    POINT Position() const { return m_position; }

private:
    bool OnCreate() override;
    bool OnMouseDown(MouseButton button, POINT client) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    FacePainter* Painter() override { return m_painter.get(); }
    bool OnCloseButton(POINT client) const;

    InfoTextHost& m_host;
    InfoFaceInputs m_inputs;
    InfoFaceLayout m_layout = InfoTextFormLayout();
    std::unique_ptr<FacePainter> m_painter;
    bool m_active = false;
    POINT m_position{};
};

}  // namespace nimbo
