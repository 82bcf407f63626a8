// Telling a click on the widget from a move of it.
#include "widget/widget_press.h"

#include <cstdlib>

namespace nimbo {

void WidgetPress::Press(FaceButton button, ScreenPoint at, ScreenPoint windowOrigin) {
    m_pressed = true;
    m_moving = false;
    m_button = button;
    m_start = at;
    m_origin = windowOrigin;
}

std::optional<ScreenPoint> WidgetPress::Move(ScreenPoint at, ScreenPoint threshold) {
    if (!m_pressed) return std::nullopt;
    const int dx = at.x - m_start.x;
    const int dy = at.y - m_start.y;
    if (!m_moving && std::abs(dx) <= threshold.x && std::abs(dy) <= threshold.y) return std::nullopt;
    m_moving = true;
    return ScreenPoint{m_origin.x + dx, m_origin.y + dy};
}

FaceButton WidgetPress::Release(FaceButton button) {
    const bool click = m_pressed && !m_moving && button == m_button;
    m_pressed = false;
    return click ? button : FaceButton::None;
}

}  // namespace nimbo
