// TInfoTextForm: the information window, a second layered face that lists the chosen information lines.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "widget/face/info_face.h"
#include "widget/widget_press.h"
#include "widget/windows/layered_window_win.h"

namespace nimbo {

class TInfoTextForm final : public LayeredWindow {
public:
    // `onClose` runs when the close button is clicked: the controller switches the window off.
    explicit TInfoTextForm(std::function<void()> onClose);

    // Creates the hidden window owned by `owner`; nothing is drawn before the first Redraw.
    bool Create(HWND owner);

    // Draws the face from `inputs`, which it keeps for its own redraws (a press, deactivation).
    void Redraw(const InfoFaceInputs& inputs);
    // Fades in to `fullAlpha` if hidden; fades out and hides if shown.
    void ShowInfo(BYTE fullAlpha, bool fade);
    void HideInfo(bool fade);
    // Takes the main window's hibernation state.
    void Hibernate(bool on, BYTE fullAlpha, bool fade) { SetHibernating(on, fullAlpha, fade); }
    void MoveTo(int left, int top);
    // Where it stands on the screen, at the DPI of its monitor. The position is kept as the window moves, so it
    // is known even after the system destroyed the window with its owner.
    ScreenRect Rect() const;

private:
    bool OnCreate() override;
    bool OnMouseDown(MouseButton button, POINT client) override;
    void OnMouseMove(POINT client) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    FacePainter* Painter() override { return m_painter.get(); }
    bool OnCloseButton(POINT client);
    void Draw();

    std::function<void()> m_onClose;
    InfoFaceInputs m_inputs;
    InfoFaceLayout m_layout = InfoTextFormLayout();
    std::unique_ptr<FacePainter> m_painter;
    int m_height = kInfoFaceHeight;
    bool m_active = false;
    // A press tells a click on the close button from a move of the window, as on the widget.
    WidgetPress m_press;
    POINT m_position{};
};

}  // namespace nimbo
