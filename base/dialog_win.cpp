// Dialog and property-page bases: one dialog procedure each, forwarding to named handlers.
#include "base/dialog_win.h"

#include "base/system_library_win.h"
#include "base/wide_text_win.h"
#include "base/window_win.h"


namespace nimbo {

Dialog::Dialog(std::string errorCaption) : m_errorCaption(std::move(errorCaption)) {}

Dialog::~Dialog() {
    if (m_hwnd && m_kind == Kind::Modeless) {
        // A modeless dialog outlives its object only by mistake; unbind first so no message reaches a dead object.
        SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        DestroyWindow(m_hwnd);
    }
}

INT_PTR Dialog::RunModal(int templateId, HWND owner) {
    m_kind = Kind::Modal;
    EnsureCommonControls();  // a template may hold tabs or progress bars
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &Dialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND Dialog::CreateModeless(int templateId, HWND parent) {
    m_kind = Kind::Modeless;
    EnsureCommonControls();
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent, &Dialog::DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

bool Dialog::OnCommand(int, int, HWND) { return false; }

bool Dialog::OnNotify(const NMHDR&, LRESULT&) { return false; }

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void Dialog::End(INT_PTR result) {
    switch (m_kind) {
        case Kind::Modal:
            EndDialog(m_hwnd, result);
            break;
        case Kind::Modeless:
            DestroyWindow(m_hwnd);
            break;
        case Kind::Page:  // the sheet ends its pages
            break;
    }
}

void Dialog::ShowError(const std::exception& error) const {
    ShowErrorBox(m_hwnd && IsWindowVisible(m_hwnd) ? m_hwnd : nullptr, m_errorCaption, error.what());
}

std::string Dialog::ItemText(int id) const {
    const HWND item = Item(id);
    const int length = item ? GetWindowTextLengthW(item) : 0;
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), length + 1)));
    return Narrow(text);
}

void Dialog::SetItemText(int id, const std::string& text) { SetDlgItemTextW(m_hwnd, id, Widen(text).c_str()); }

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInit() ? TRUE : FALSE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            const auto control = reinterpret_cast<HWND>(lParam);
            if (OnCommand(id, code, control)) return TRUE;
            // Buttons and the keyboard's Enter and Escape; other notifications of these ids are not presses.
            if (id == IDOK && (code == BN_CLICKED || !control)) {
                OnOK();
                return TRUE;
            }
            if (id == IDCANCEL && (code == BN_CLICKED || !control)) {
                OnCancel();
                return TRUE;
            }
            return FALSE;
        }
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return FALSE;
            SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default: {
            INT_PTR result = 0;
            return OnMessage(message, wParam, lParam, result) ? result : FALSE;
        }
    }
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    const INT_PTR result = CallReportingErrors<INT_PTR>([&] { return self->Dispatch(message, wParam, lParam); },
                                                        [&](const std::exception& error) { self->ShowError(error); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

PROPSHEETPAGEW PropertyPage::Describe(int templateId, DWORD flags, int headerTitleId, int headerSubTitleId) {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = flags;
    page.hInstance = GetModuleHandleW(nullptr);
    page.pszTemplate = MAKEINTRESOURCEW(templateId);
    page.pfnDlgProc = &PropertyPage::PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (headerTitleId) {
        page.dwFlags |= PSP_USEHEADERTITLE;
        page.pszHeaderTitle = MAKEINTRESOURCEW(headerTitleId);
    }
    if (headerSubTitleId) {
        page.dwFlags |= PSP_USEHEADERSUBTITLE;
        page.pszHeaderSubTitle = MAKEINTRESOURCEW(headerSubTitleId);
    }
    return page;
}

INT_PTR CALLBACK PropertyPage::PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The sheet passes its copy of the page description; our object travels in its lParam.
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        lParam = page->lParam;
        auto* self = reinterpret_cast<PropertyPage*>(lParam);
        self->m_kind = Kind::Page;
    }
    return Dialog::DialogProc(hwnd, message, wParam, lParam);
}

}  // namespace nimbo
