// The about window's composition: the link is sized to its drawn text, and the texts tell who made what.
#include "widget/face/about_face.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

class FakeMeasurer : public FaceMeasurer {
public:
    SizeI PictureSize(const std::string&) const override { return {195, 10}; }
    RectF MeasureText(const std::string& text, TextAlign, const FontSpec&) const override {
        return {0, 0, 5.4f * static_cast<float>(text.size()), 12.6f};
    }
};

TEST(AboutFace, TheLinkTakesTheSizeOfTheAddressItShows) {
    EXPECT_EQ(ShownWebAddress("http://127.0.0.1:8640"), "127.0.0.1:8640");
    EXPECT_EQ(ShownWebAddress("https://nimbo.example"), "nimbo.example");
    EXPECT_EQ(ShownWebAddress("nimbo.example"), "nimbo.example");

    AboutFaceLayout layout = AboutFormLayout("nimbo.example", false);
    const DrawList ops = ComposeAboutFace(layout, FakeMeasurer());
    EXPECT_EQ(layout.webAddressLbl.place.width, 71);  // 13 characters of 5.4 pixels, rounded, plus 1
    EXPECT_EQ(layout.webAddressLbl.place.height, 14);
    EXPECT_EQ(layout.webAddressLbl.color, 0xFFFFFF80u);

    std::vector<std::string> texts;
    bool fadedLogo = false;
    for (const DrawOp& op : ops) {
        if (const auto* text = std::get_if<TextOp>(&op)) texts.push_back(text->text);
        if (const auto* picture = std::get_if<PictureOp>(&op); picture && picture->name == "Moons\\4.png") {
            fadedLogo =
                picture->mode == PictureMode::Tinted && picture->matrix[18] < 0.61f && picture->matrix[18] > 0.60f;
        }
    }
    EXPECT_TRUE(fadedLogo);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "Nimbo! Hakkında...");
    EXPECT_EQ(texts[1], "Nimbo!");
    EXPECT_EQ(texts[4], "nimbo.example");
    // No person is named; today's data sources and their licences are.
    EXPECT_NE(texts[3].find("- Nimbo ekibi"), std::string::npos);
    for (const char* credit :
         {"Open-Meteo (CC BY 4.0), Nimbo veri servisi ile", "Open-Meteo'nun kullanım koşullarıyla",
          "GeoNames (CC BY 4.0)", "MIT Lisansı"}) {
        EXPECT_NE(texts[5].find(credit), std::string::npos) << credit;
    }
}

// Direct mode: the weather comes from Open-Meteo itself, and without a web server there is no link to press.
TEST(AboutFace, DirectModeWithoutWebServerNamesNoServiceAndHasNoLink) {
    AboutFaceLayout layout = AboutFormLayout(ShownWebAddress(""), true);
    const DrawList ops = ComposeAboutFace(layout, FakeMeasurer());
    std::vector<std::string> texts;
    for (const DrawOp& op : ops) {
        if (const auto* text = std::get_if<TextOp>(&op)) texts.push_back(text->text);
    }
    ASSERT_EQ(texts.size(), 5u);                     // no address line
    EXPECT_EQ(layout.webAddressLbl.place.width, 0);  // nothing to press
    EXPECT_NE(texts[4].find("Hava durumu: Open-Meteo (CC BY 4.0),\n"), std::string::npos) << texts[4];
    EXPECT_EQ(texts[4].find("veri servisi"), std::string::npos) << texts[4];
    EXPECT_NE(texts[4].find("GeoNames (CC BY 4.0)"), std::string::npos) << texts[4];
}

}  // namespace
}  // namespace nimbo
