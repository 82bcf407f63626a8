// Hints through the common tooltip control, one tool per area.
#include "widget/windows/hint_window_win.h"

#include <commctrl.h>

#include "base/system_library_win.h"
#include "base/wide_text_win.h"

namespace nimbo {

namespace {

// Wide enough for the information text's longest line; wider lines wrap.
constexpr int kMaxHintWidth = 320;

TTTOOLINFOW ToolInfo(HWND window, UINT_PTR id) {
    TTTOOLINFOW info{};
    // The size Windows XP's common controls know; later ones accept it too.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window;
    info.uId = id;
    return info;
}

}  // namespace

HintWindow::~HintWindow() {
    if (m_tooltip) DestroyWindow(m_tooltip);
}

void HintWindow::MouseMoved(HWND window, POINT client) {
    if (m_tooltip || m_window || !window) return;
    m_window = window;  // one attempt: a control that cannot be made is not asked for on every move
    if (!EnsureCommonControls()) return;
    m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!m_tooltip) return;
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, kMaxHintWidth);
    AddTools();
    MSG move{};
    move.hwnd = window;
    move.message = WM_MOUSEMOVE;
    move.lParam = MAKELPARAM(client.x, client.y);
    move.time = GetMessageTime();
    move.pt = {client.x, client.y};
    ClientToScreen(window, &move.pt);
    SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void HintWindow::SetAreas(const std::vector<HintArea>& areas) {
    if (areas == m_areas) return;
    RemoveTools();
    m_areas = areas;
    AddTools();
}

void HintWindow::RemoveTools() {
    if (!m_tooltip) return;
    for (size_t i = 0; i < m_areas.size(); ++i) {
        TTTOOLINFOW info = ToolInfo(m_window, i + 1);
        SendMessageW(m_tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void HintWindow::AddTools() {
    if (!m_tooltip) return;
    for (size_t i = 0; i < m_areas.size(); ++i) {
        const HintArea& area = m_areas[i];
        std::wstring text = Widen(area.text);
        TTTOOLINFOW info = ToolInfo(m_window, i + 1);
        // The control watches the window's mouse messages itself.
        info.uFlags = TTF_SUBCLASS;
        info.rect = {area.left, area.top, area.left + area.width, area.top + area.height};
        info.lpszText = text.data();
        SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

}  // namespace nimbo
