// The about window's face: its placeholders, texts and the one composition it ever gets.
#pragma once

#include <string>
#include <vector>

#include "widget/face/compositor.h"
#include "widget/face/face_layout.h"

namespace nimbo {

inline constexpr int kAboutFaceWidth = 329;
inline constexpr int kAboutFaceHeight = 249;

// A label of the about window with the text and colour it draws.
struct AboutLabel {
    Placeholder place;
    std::string text;
    uint32_t color = kOpaqueWhite;
};

struct AboutFaceLayout {
    Placeholder backgrndLbl;
    AboutLabel headerTextLbl;
    AboutLabel productNameLbl;
    AboutLabel creditsLbl;  // version and credits
    AboutLabel sloganLbl;
    AboutLabel webAddressLbl;  // the only label that takes clicks, sized to its text
    AboutLabel noticeLbl;
    Placeholder closeBtn;
};

// `webAddress` is the address the link shows; empty, there is no link. `directWeather`: the widget asks Open-Meteo
// itself, and the notice does not name the data service.
AboutFaceLayout AboutFormLayout(const std::string& webAddress, bool directWeather);

// The address as a user reads it: the web server's URL without its scheme.
std::string ShownWebAddress(const std::string& webUrl);

// The pictures the about window loads once: the glass, "Close.png" and the logo.
std::vector<std::string> AboutFacePictures();

// Clear, coffee glass, close button, header, faded logo, then the texts, each label sized to its text; the
// caller presents.
DrawList ComposeAboutFace(AboutFaceLayout& layout, const FaceMeasurer& measurer);

}  // namespace nimbo
