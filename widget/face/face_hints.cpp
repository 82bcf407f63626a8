// The hint areas of the main face.
#include "widget/face/face_hints.h"

namespace nimbo {

void AddHint(std::vector<HintArea>& areas, const Placeholder& place) {
    if (!place.visible || !place.showHint || place.hint.empty()) return;
    areas.push_back({place.left, place.top, place.width, place.height, place.hint});
}

std::vector<HintArea> MainFaceHints(const FaceLayout& layout) {
    std::vector<HintArea> areas;
    for (const Placeholder* button : {&layout.exitBtn, &layout.hideBtn, &layout.optionsBtn}) {
        if (button->enabled) AddHint(areas, *button);
    }
    for (const Placeholder& cell : layout.dayLbl) AddHint(areas, cell);
    AddHint(areas, layout.moonLbl);
    Placeholder weather = layout.weatherLbl;
    weather.showHint = true;
    AddHint(areas, weather);
    return areas;
}

}  // namespace nimbo
