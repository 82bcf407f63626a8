// The hibernate warning: a resource template, sized to its client area and centred, that stores its check box.
#include "widget/config/hibernate_form_win.h"

#include "widget/config/hibernate_form_ids.h"
#include "widget/settings_keys.h"

namespace nimbo {

namespace {

// The client area in pixels, whatever the dialog units of the system's Tahoma come to.
constexpr int kClientWidth = 363;
constexpr int kClientHeight = 202;

}  // namespace

void THibernateForm::ShowModal(HWND owner) { RunModal(IDD_HIBERNATE_FORM, owner); }

bool THibernateForm::OnInit() {
    RECT frame{0, 0, kClientWidth, kClientHeight};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
    SetChecked(IDC_HIBERNATE_CHECKBOX1, false);
    return true;
}

void THibernateForm::FormClose(INT_PTR result) {
    Write(m_settings, settings::kHibernateAlert, !IsChecked(IDC_HIBERNATE_CHECKBOX1));
    m_settings.UpdateFile();
    End(result);
}

}  // namespace nimbo
