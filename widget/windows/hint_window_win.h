// A tooltip control that shows hints over areas of one window.
#pragma once

#include <windows.h>

#include <vector>

#include "widget/face/face_hints.h"

namespace nimbo {

// The tooltip is made when the mouse first moves over the window: the common controls are loaded only then,
// and a widget nobody points at does not carry them.
class HintWindow {
public:
    HintWindow() = default;
    ~HintWindow();
    HintWindow(const HintWindow&) = delete;
    HintWindow& operator=(const HintWindow&) = delete;

    // The areas and texts from now on; unchanged areas leave a shown hint alone.
    void SetAreas(const std::vector<HintArea>& areas);
    // A WM_MOUSEMOVE of `window`: the first one makes the tooltip and hands it the move, which starts its
    // delay; later moves reach the tooltip through its subclass. Without the control no hint shows.
    void MouseMoved(HWND window, POINT client);

private:
    void AddTools();
    void RemoveTools();

    HWND m_window = nullptr;
    HWND m_tooltip = nullptr;
    std::vector<HintArea> m_areas;
};

}  // namespace nimbo
