// The about window's placeholders and its composition.
#include "widget/face/about_face.h"

namespace nimbo {

namespace {

constexpr float kAboutStretch = 4.5f;
constexpr int kAboutGlassWidth = 321;
constexpr int kAboutReflectionDx = 10;
constexpr GlassTint kMilkyCoffee{0x804000, 255};
// The logo shows at about 61 % opacity.
constexpr float kLogoAlpha = 155.0f / 255.0f;
constexpr uint32_t kPaleYellow = 0xFFFFFF80;

constexpr char kVersionAndCredits[] = "Sürüm 1.60\nNimbo geliştiricileri";
constexpr char kSlogan[] = "\"Bundan sonra TV'de hava durumunu\nkaçırmak serbest!\" - Nimbo ekibi";
// The program's licence, and the weather's own terms, as the setup and the README say them.
constexpr char kNoticeStart[] = "Açık kaynak; MIT Lisansı ile dağıtılır.\n";
constexpr char kWeatherThroughService[] = "Hava durumu: Open-Meteo (CC BY 4.0), Nimbo veri servisi ile,\n";
constexpr char kWeatherDirect[] = "Hava durumu: Open-Meteo (CC BY 4.0),\n";
constexpr char kNoticeEnd[] =
    "Open-Meteo'nun kullanım koşullarıyla.\n"
    "Yer adları: GeoNames (CC BY 4.0).\n"
    "Resimler ve ekran tasarımı: Nimbo geliştiricileri.";

AboutLabel Label(int left, int top, FontSpec font, std::string text, uint32_t color = kOpaqueWhite) {
    AboutLabel label;
    label.place.left = left;
    label.place.top = top;
    label.place.font = std::move(font);
    label.text = std::move(text);
    label.color = color;
    return label;
}

// Sizes the label to its text and draws it with its shadow, one pixel up and left as the form draws labels.
void DrawLabel(DrawList& ops, AboutLabel& label, TextAlign align, const FaceMeasurer& measurer) {
    Placeholder& place = label.place;
    if (!place.visible || label.text.empty()) return;
    const RectF box = measurer.MeasureText(label.text, align, place.font);
    place.width = RoundHalfEven(box.width) + 1;
    place.height = RoundHalfEven(box.height) + 1;
    TextOp op;
    op.text = label.text;
    op.rect = MovedRect(place.Rect(), -1, -1);
    // The lines break where the text says: a renderer that measures a little short must not wrap them, so a
    // left-aligned text may run to the window's edge. The label, the link's clickable area, keeps its size.
    if (align == TextAlign::Near) op.rect.width = static_cast<float>(kAboutFaceWidth - place.left);
    op.font = place.font;
    op.color = label.color;
    op.align = align;
    op.shadow = true;
    ops.push_back(op);
}

}  // namespace

AboutFaceLayout AboutFormLayout(const std::string& webAddress, bool directWeather) {
    const FontSpec trebuchet11{"Trebuchet MS", 11, FontUnit::Pixel, false, false};
    AboutFaceLayout layout;
    layout.backgrndLbl.left = 4;
    layout.backgrndLbl.top = 8;
    layout.backgrndLbl.width = kAboutGlassWidth;
    layout.backgrndLbl.height = 233;
    layout.headerTextLbl = Label(24, 17, {"Trebuchet MS", 16, FontUnit::Pixel, true, false}, "Nimbo! Hakkında...");
    layout.productNameLbl = Label(120, 48, {"Impact", 27, FontUnit::Pixel, false, false}, "Nimbo!");
    layout.creditsLbl = Label(120, 83, trebuchet11, kVersionAndCredits);
    layout.sloganLbl = Label(125, 111, {"Trebuchet MS", 9, FontUnit::Pixel, false, true}, kSlogan);
    layout.webAddressLbl = Label(120, 137, trebuchet11, webAddress, kPaleYellow);
    layout.noticeLbl =
        Label(24, 157, {"Tahoma", 9, FontUnit::Pixel, false, false},
              std::string(kNoticeStart) + (directWeather ? kWeatherDirect : kWeatherThroughService) + kNoticeEnd);
    layout.closeBtn.left = 289;
    layout.closeBtn.top = 16;
    layout.closeBtn.width = layout.closeBtn.height = 18;
    layout.closeBtn.enabled = true;
    layout.closeBtn.hint = "Kapat";
    layout.closeBtn.showHint = true;
    return layout;
}

std::string ShownWebAddress(const std::string& webUrl) {
    for (const char* scheme : {"http://", "https://"}) {
        const std::string prefix = scheme;
        if (webUrl.compare(0, prefix.size(), prefix) == 0) return webUrl.substr(prefix.size());
    }
    return webUrl;
}

std::vector<std::string> AboutFacePictures() {
    std::vector<std::string> names(kBackgroundPictures.begin(), kBackgroundPictures.end());
    names.emplace_back("UI\\Close.png");
    names.emplace_back("Moons\\4.png");
    return names;
}

DrawList ComposeAboutFace(AboutFaceLayout& layout, const FaceMeasurer& measurer) {
    DrawList ops;
    ops.push_back(ClearOp{});
    DrawBackground(ops, measurer, layout.backgrndLbl.left, layout.backgrndLbl.top, layout.backgrndLbl.width,
                   kAboutStretch, kMilkyCoffee, kAboutReflectionDx);
    if (layout.closeBtn.enabled && layout.closeBtn.visible) {
        PictureOp close;
        close.name = "UI\\Close.png";
        close.destination = {static_cast<float>(layout.closeBtn.left), static_cast<float>(layout.closeBtn.top),
                             kNaturalSize, kNaturalSize};
        ops.push_back(close);
    }
    DrawLabel(ops, layout.headerTextLbl, TextAlign::Center, measurer);

    PictureOp logo;
    logo.name = "Moons\\4.png";
    logo.destination = {0, 32, kNaturalSize, kNaturalSize};
    logo.mode = PictureMode::Tinted;
    logo.matrix = IdentityMatrix();
    logo.matrix[18] = kLogoAlpha;
    ops.push_back(logo);

    for (AboutLabel* label :
         {&layout.productNameLbl, &layout.creditsLbl, &layout.sloganLbl, &layout.webAddressLbl, &layout.noticeLbl}) {
        DrawLabel(ops, *label, TextAlign::Near, measurer);
    }
    return ops;
}

}  // namespace nimbo
