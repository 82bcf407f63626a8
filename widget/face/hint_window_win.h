// A tooltip control that shows hints over areas of one window.
#pragma once

#include <windows.h>

#include <vector>

#include "base/unique_handle_win.h"
#include "widget/face/face_hints.h"

namespace nimbo {

class HintWindow {
public:
    HintWindow() = default;
    ~HintWindow();
    HintWindow(const HintWindow&) = delete;
    HintWindow& operator=(const HintWindow&) = delete;

    // Creates the tooltip for `window`; without it the hints are simply not shown.
    void Create(HWND window);
    // The areas and texts from now on; unchanged areas leave a shown hint alone.
    void SetAreas(const std::vector<HintArea>& areas);

private:
    HWND m_window = nullptr;
    HWND m_tooltip = nullptr;
    std::vector<HintArea> m_areas;
};

}  // namespace nimbo
