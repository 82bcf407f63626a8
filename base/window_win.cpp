// Window base class and the general error box.
#include "base/window_win.h"

#include "base/wide_text_win.h"

namespace nimbo {

void ShowErrorBox(HWND owner, const std::string& caption, const std::string& message) {
    std::string text = message;
    if (!text.empty() && text.back() != '.') text += '.';
    MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), MB_OK | MB_ICONERROR);
}

Window::Window(std::string errorCaption) : m_errorCaption(std::move(errorCaption)) {}

Window::~Window() {
    if (m_hwnd) {
        // The window outlives its object only by mistake; unbind first so no message reaches a dead object.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

bool Window::Create(const wchar_t* className, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                    HWND parent, UINT classStyle) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (!GetClassInfoExW(instance, className, &existing)) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = classStyle;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent, nullptr, instance, this) !=
           nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void Window::ShowError(const std::exception& error) const {
    ShowErrorBox(m_hwnd && IsWindowVisible(m_hwnd) ? m_hwnd : nullptr, m_errorCaption, error.what());
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        self->ShowError(error);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

}  // namespace nimbo
