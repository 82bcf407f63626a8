// The one window procedure: binds the C++ object at WM_NCCREATE and hands each message to a named handler.
#pragma once

#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>

namespace nimbo {

// Shows an error box the way the application's general error handler does: caption, error icon, and the
// message ending in a full stop.
void ShowErrorBox(HWND owner, const std::string& caption, const std::string& message);

// Runs a message handler so that no exception unwinds through user32's frames: `report` gets it instead, and
// the message's result is then zero.
template <typename Result, typename Handler, typename Report>
Result CallReportingErrors(Handler&& handler, Report&& report) {
    try {
        return handler();
    } catch (const std::exception& error) {
        report(error);
    } catch (...) {
        report(std::runtime_error("Beklenmeyen bir hata oluştu"));
    }
    return Result{};
}

// What a window is made with. The title is what the system, other programs and screen readers see.
struct WindowCreation {
    const wchar_t* className = L"";
    std::string title;
    DWORD exStyle = 0;
    DWORD style = WS_POPUP;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND owner = nullptr;
    UINT classStyle = 0;  // registered with the class on first use, e.g. CS_DBLCLKS
};

enum class MouseButton { Left, Right, Middle };

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // A window still alive is unbound first, then destroyed: no message reaches the freed object.
    virtual ~Window();

    HWND Handle() const { return m_hwnd; }

protected:
    // `errorCaption` titles the error box shown when a handler throws.
    explicit Window(std::string errorCaption);

    // False when the window could not be made.
    bool Create(const WindowCreation& creation);

    // Named handlers; each returns true when it handled the message, false for the default processing.
    virtual bool OnCreate() { return true; }  // WM_CREATE; false refuses the window
    virtual void OnDestroy() {}
    virtual bool OnCommand(WORD /*id*/) { return false; }
    virtual bool OnTimer(UINT_PTR /*id*/) { return false; }
    // `screen` is (-1, -1) when the menu was asked for from the keyboard.
    virtual bool OnContextMenu(POINT /*screen*/) { return false; }
    virtual bool OnMouseDown(MouseButton /*button*/, POINT /*client*/) { return false; }
    virtual bool OnDoubleClick(POINT /*client*/) { return false; }
    // WM_MOUSEMOVE, told before its default processing.
    virtual void OnMouseMove(POINT /*client*/) {}
    // Every other message, and those a named handler left; the default processing unless overridden.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const;
    // The general error handler: a handler's exception ends that handler, never the program.
    virtual void ShowError(const std::exception& error) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::string m_errorCaption;
};

}  // namespace nimbo
