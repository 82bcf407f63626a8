// Window base class and the general error box.
#include "base/window_win.h"

#include <windowsx.h>

#include <stdexcept>

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
        const HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        DestroyWindow(hwnd);
    }
}

bool Window::Create(const WindowCreation& creation) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof(existing)};
    if (!GetClassInfoExW(instance, creation.className, &existing)) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = creation.classStyle;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.lpszClassName = creation.className;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(creation.exStyle, creation.className, Widen(creation.title).c_str(), creation.style,
                           creation.x, creation.y, creation.width, creation.height, creation.owner, nullptr, instance,
                           this) != nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void Window::ShowError(const std::exception& error) const {
    ShowErrorBox(m_hwnd && IsWindowVisible(m_hwnd) ? m_hwnd : nullptr, m_errorCaption, error.what());
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    // Client coordinates for the mouse, screen coordinates for WM_CONTEXTMENU.
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_CREATE:
            return OnCreate() ? 0 : -1;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam))) return 0;
            break;
        case WM_TIMER:
            if (OnTimer(wParam)) return 0;
            break;
        case WM_CONTEXTMENU:
            if (OnContextMenu(point)) return 0;
            break;
        case WM_LBUTTONDOWN:
            if (OnMouseDown(MouseButton::Left, point)) return 0;
            break;
        case WM_RBUTTONDOWN:
            if (OnMouseDown(MouseButton::Right, point)) return 0;
            break;
        case WM_MBUTTONDOWN:
            if (OnMouseDown(MouseButton::Middle, point)) return 0;
            break;
        case WM_LBUTTONDBLCLK:
            if (OnDoubleClick(point)) return 0;
            break;
        case WM_MOUSEMOVE:
            OnMouseMove(point);
            break;
    }
    return OnMessage(message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = CallReportingErrors<LRESULT>([&] { return self->Dispatch(message, wParam, lParam); },
                                                        [&](const std::exception& error) { self->ShowError(error); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

}  // namespace nimbo
