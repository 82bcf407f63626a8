// What every floating face shares: its surface and alpha, fades, showing and hiding, the mouse's place, topmost, and
// the click-through style of hibernation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/window_win.h"
#include "widget/face/face_renderer_win.h"
#include "widget/screen_placement.h"
#include "widget/windows/hint_window_win.h"

namespace nimbo {

class LayeredWindow : public Window {
public:
    // FaceAlpha; HiddenAlpha before the face exists.
    BYTE Alpha();
    bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
    // Above every other window, or among them, without moving, sizing or activating.
    void SetTopMost(bool topMost);

protected:
    using Window::Window;

    // The face's painter, once the creation handler has made it.
    virtual FacePainter* Painter() = 0;

    // Shows the window, then fades in to `fullAlpha`; without fading sets it and presents once.
    void ShowFaded(BYTE fullAlpha, bool fade);
    // Fades out to HiddenAlpha, then hides the window; without fading only hides it.
    void HideFaded(bool fade);
    // Brings FaceAlpha to `target`: a fade in either direction, or at once and presented once.
    void FadeTo(BYTE target, bool fade);
    // Where the mouse was when the message being handled was posted, in screen pixels: the window may have moved
    // since.
    static ScreenPoint MessagePoint();
    // How far the mouse may wander with a button held and still click: the system's drag rectangle.
    static ScreenPoint DragThreshold();
    // While a press moves the window, the mouse's messages come here wherever it goes.
    void SetMouseCapture(bool on);
    // Hibernation: entering remembers the extended style, dims to `fullAlpha` and lets the mouse pass through;
    // leaving brightens to `fullAlpha` and restores the remembered style.
    void SetHibernating(bool on, BYTE fullAlpha, bool fade);
    // The extended style taken when hibernation began; 0 before the first one.
    DWORD SavedExStyle() const { return m_savedExStyle; }
    // The hints over areas of the face (in layout units) from now on.
    void SetHints(const std::vector<HintArea>& areas);

    // The window's size becomes its face's at the painter's scale; its top-left corner stays.
    void FitToFace();
    // WM_DPICHANGED: the painter takes the new DPI and the window the rectangle the system suggests, which keeps
    // it under the mouse while it is dragged between monitors. The caller composes again.
    void TakeDpiChange(WPARAM wParam, LPARAM lParam);
    // A point of the window in layout units, for hit tests against placeholders.
    POINT LayoutPoint(POINT client);
    // The window's text, which the default accessible object gives screen readers as the window's name; the
    // system tells them when it changes.
    void SetAccessibleName(const std::string& name);

    void OnMouseMove(POINT client) override { m_hints.MouseMoved(Handle(), client); }

private:
    DWORD m_savedExStyle = 0;  // SavedExStyle: 0 before the first hibernation
    std::string m_accessibleName;
    HintWindow m_hints;
};

}  // namespace nimbo
