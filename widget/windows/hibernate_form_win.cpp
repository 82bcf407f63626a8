// The hibernate warning: a resource template, sized to its client area and centred, that reports its check box.
#include "widget/windows/hibernate_form_win.h"

#include <utility>

#include "resources/hibernate_ids.h"
#include "widget/face/display_scale.h"
#include "widget/windows/window_dpi_win.h"

namespace nimbo {

namespace {

// The client area in pixels at 96 DPI, scaled with the display, whatever the dialog units of the system's Tahoma
// come to.
constexpr int kClientWidth = 363;
constexpr int kClientHeight = 202;

}  // namespace

std::optional<bool> THibernateForm::Run(HWND owner) {
    RunModal(IDD_HIBERNATE_FORM, owner);
    return m_dontShowAgain;
}

// Moves every control by the ratio of the new client size to the old, so the layout keeps its proportions.
BOOL CALLBACK ScaleControl(HWND control, LPARAM context) {
    const auto& scale = *reinterpret_cast<const std::pair<double, double>*>(context);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    const auto x = [&](LONG v) { return static_cast<int>(v * scale.first + 0.5); };
    const auto y = [&](LONG v) { return static_cast<int>(v * scale.second + 0.5); };
    MoveWindow(control, x(rect.left), y(rect.top), x(rect.right) - x(rect.left), y(rect.bottom) - y(rect.top), FALSE);
    return TRUE;
}

bool THibernateForm::OnInit() {
    // The template is laid out in dialog units of Tahoma 8 pt, where it measures 363 x 202 pixels at 96 DPI; a
    // system whose font measures otherwise gets the same client size with the controls in proportion.
    const DisplayScale display(WindowDpi(Handle()));
    const int clientWidth = display.Pixels(kClientWidth);
    const int clientHeight = display.Pixels(kClientHeight);
    RECT before{};
    GetClientRect(Handle(), &before);
    if (before.right > 0 && before.bottom > 0 && (before.right != clientWidth || before.bottom != clientHeight)) {
        const std::pair<double, double> scale{static_cast<double>(clientWidth) / before.right,
                                              static_cast<double>(clientHeight) / before.bottom};
        EnumChildWindows(Handle(), &ScaleControl, reinterpret_cast<LPARAM>(&scale));
    }
    RECT frame{0, 0, clientWidth, clientHeight};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
    SetChecked(IDC_HIBERNATE_DONT_SHOW_AGAIN, false);
    return true;
}

void THibernateForm::CloseWithChoice(INT_PTR result) {
    m_dontShowAgain = IsChecked(IDC_HIBERNATE_DONT_SHOW_AGAIN);
    End(result);
}

}  // namespace nimbo
