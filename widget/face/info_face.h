// The information window's face: its placeholders and what one redraw draws where.
#pragma once

#include <string>
#include <vector>

#include "widget/connection_state.h"
#include "widget/face/compositor.h"
#include "widget/face/face_layout.h"
#include "widget/widget_settings.h"

namespace nimbo {

inline constexpr int kInfoFaceWidth = 209;
inline constexpr int kInfoFaceHeight = 204;
inline constexpr char kInfoHeaderText[] = "Nimbo! Bilgi";

struct InfoFaceLayout {
    Placeholder backgrndLbl;
    Placeholder infoTextLbl;  // fixed width; its height follows the text
    Placeholder headerTextLbl;
    Placeholder closeBtn;  // hint "Kapat"
};

InfoFaceLayout InfoTextFormLayout();

// The pictures the information window loads once: the glass and "Close.png".
std::vector<std::string> InfoFacePictures();

// What a redraw reads, given by the controller each time.
struct InfoFaceInputs {
    std::string text;  // the information text; it also sizes the glass, measured in MainInfoTextFont
    WidgetSettings settings;
    ConnectionState connection = ConnectionState::Succeeded;
    bool active = false;  // pressed since the window was last deactivated: the close button shows
};

// The window's height: as designed, or taller by what the text needs beyond its label's designed height, so the
// glass and every line (the last being the weather's age) stay inside.
int InfoFaceHeight(const InfoFaceInputs& inputs, const FaceMeasurer& measurer);

// Clear, glass grown by the text's height, text, close button, header; the caller presents.
DrawList ComposeInfoFace(InfoFaceLayout& layout, const InfoFaceInputs& inputs, const FaceMeasurer& measurer);

}  // namespace nimbo
