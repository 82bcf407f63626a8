// A press of the left button on the widget becomes either a click on one of the face's buttons or a move of the
// window, never both: the move starts only once the mouse leaves the system's drag rectangle with the button held.
#pragma once

#include <optional>

#include "widget/face/face_layout.h"
#include "widget/screen_placement.h"

namespace nimbo {

class WidgetPress {
public:
    // The left button went down at `at` (screen pixels) over `button` (None where no button is drawn) while the
    // window's top-left corner stood at `windowOrigin`.
    void Press(FaceButton button, ScreenPoint at, ScreenPoint windowOrigin);
    // The mouse moved to `at` with the button held: where the window's corner goes, once the move has started.
    // `threshold` is how far the mouse may wander each way and still click.
    std::optional<ScreenPoint> Move(ScreenPoint at, ScreenPoint threshold);
    // The button came up over `button`: the face button clicked, None for a move, a press elsewhere or a release
    // over another button.
    FaceButton Release(FaceButton button);
    // The press ended some other way (the window lost the mouse); nothing follows it.
    void Cancel() { m_pressed = false; }

    bool Pressed() const { return m_pressed; }
    bool Moving() const { return m_pressed && m_moving; }

private:
    bool m_pressed = false;
    bool m_moving = false;
    FaceButton m_button = FaceButton::None;
    ScreenPoint m_start;
    ScreenPoint m_origin;
};

}  // namespace nimbo
