// Which parts of a face show a hint, and which text: the placeholders' hints as the last composition left them.
#pragma once

#include <string>
#include <vector>

#include "widget/face/face_layout.h"

namespace nimbo {

struct HintArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string text;

    bool operator==(const HintArea& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height && text == o.text;
    }
};

// The placeholder's area when it is visible and has a hint to show; otherwise nothing is added.
void AddHint(std::vector<HintArea>& areas, const Placeholder& place);

// Buttons, forecast cells and moon cell first, since they lie over WeatherLbl, whose hint is the information
// text.
std::vector<HintArea> MainFaceHints(const FaceLayout& layout);

}  // namespace nimbo
