// The one window procedure: binds the C++ object at WM_NCCREATE and forwards every message to OnMessage.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace nimbo {

// Shows an error box the way the application's general error handler does: caption, error icon, and the
// message ending in a full stop.
void ShowErrorBox(HWND owner, const std::string& caption, const std::string& message);

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return m_hwnd; }

protected:
    // `errorCaption` titles the error box shown when a handler throws.
    explicit Window(std::string errorCaption);

    // Registers the class (with `classStyle`, e.g. CS_DBLCLKS) on first use; false when the window could not be
    // made.
    bool Create(const wchar_t* className, DWORD exStyle, DWORD style, int x, int y, int width, int height,
                HWND parent = nullptr, UINT classStyle = 0);
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The general error handler: a handler's exception ends that handler, never the program.
    void ShowError(const std::exception& error) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::string m_errorCaption;
};

}  // namespace nimbo
