// One scale for every face: the units, fonts and hints, and the three faces laid out at 96, 120, 144 and 192 DPI
// keep their 96-DPI picture, only larger.
#include "widget/face/display_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/support/system_time_at.h"
#include "widget/face/about_face.h"
#include "widget/face/face_layout.h"
#include "widget/face/info_face.h"

namespace nimbo {
namespace {

constexpr int kDpis[] = {96, 120, 144, 192};

TEST(DisplayScale, UnitsBecomeWholePixelsAndBack) {
    struct Case {
        int dpi;
        SizeI mainWindow;
        int unitOfPixel149;
    };
    const Case cases[] = {
        {96, {233, 248}, 149}, {120, {291, 310}, 119}, {144, {350, 372}, 99},
        {192, {466, 496}, 74}, {0, {233, 248}, 149},
    };
    for (const Case& c : cases) {
        const DisplayScale scale(c.dpi);
        const SizeI window = scale.Pixels(SizeI{kMainFaceWidth, kMainFaceHeight});
        EXPECT_EQ(window.width, c.mainWindow.width) << c.dpi;
        EXPECT_EQ(window.height, c.mainWindow.height) << c.dpi;
        EXPECT_EQ(scale.Units(149), c.unitOfPixel149) << c.dpi;
        EXPECT_EQ(scale.Pixels(-3), -scale.Pixels(3)) << c.dpi;
        // Every pixel of a scaled unit lies in that unit.
        for (int unit = 0; unit < 40; ++unit) {
            for (int pixel = scale.Pixels(unit); pixel < scale.Pixels(unit + 1); ++pixel) {
                EXPECT_EQ(scale.Units(pixel), unit) << c.dpi << " pixel " << pixel;
            }
        }
    }
    EXPECT_EQ(DisplayScale(144).Units(-1), -1);
}

TEST(DisplayScale, FontsArePixelsAfterScaling) {
    struct Case {
        FontSpec font;
        int dpi;
        float pixels;
    };
    const Case cases[] = {
        {{"Arial", 13, FontUnit::Pixel}, 96, 13},       {{"Arial", 13, FontUnit::Pixel}, 144, 19.5f},
        {{"Arial", 10, FontUnit::Point}, 96, 13},       {{"Arial", 10, FontUnit::Point}, 192, 26},
        {{"Arial", 9, FontUnit::Point}, 96, 12},        {{"Arial", 9, FontUnit::Point}, 120, 15},
        {{"Tahoma", 11, FontUnit::Pixel}, 120, 13.75f},
    };
    for (const Case& c : cases) {
        const FontSpec scaled = ScaledFont(c.font, DisplayScale(c.dpi));
        EXPECT_EQ(scaled.unit, FontUnit::Pixel);
        EXPECT_FLOAT_EQ(scaled.size, c.pixels) << c.font.size << " at " << c.dpi;
        EXPECT_EQ(scaled.family, c.font.family);
    }
}

TEST(DisplayScale, HintsAndPicturesMeetOnWholePixels) {
    const DisplayScale scale(120);
    // Two areas side by side stay side by side: each ends where the next starts.
    const std::vector<HintArea> hints = ScaledHints({{177, 41, 18, 18, "Gizle"}, {195, 41, 18, 18, "Kapat"}}, scale);
    ASSERT_EQ(hints.size(), 2u);
    EXPECT_EQ(hints[0].left + hints[0].width, hints[1].left);
    EXPECT_EQ(hints[0].left, 221);
    EXPECT_EQ(hints[1].text, "Kapat");

    // Slices stacked in the layout stay stacked: a stretched one ends where the next begins.
    DrawList ops;
    PictureOp upper;
    upper.name = "Colorize\\Mid.png";
    upper.destination = {30, 57, 195, 54};
    upper.source = {0, 0, 195, 43};
    PictureOp lower;
    lower.name = "Colorize\\Base.png";
    lower.destination = {30, 111, kNaturalSize, kNaturalSize};
    ops = {upper, lower};
    const DrawList scaled = ScaledDrawList(ops, scale);
    const auto& a = std::get<PictureOp>(scaled[0]);
    const auto& b = std::get<PictureOp>(scaled[1]);
    EXPECT_EQ(a.destination.y + a.destination.height, b.destination.y);
    EXPECT_EQ(b.destination.width, kNaturalSize);
    EXPECT_FLOAT_EQ(a.source.height, 43 * 1.25f);
}

// The picture set's sizes in the files (layout size times the picture density), and texts whose boxes grow with
// their font's pixels.
class PixelMeasurer : public FaceMeasurer {
public:
    SizeI PictureSize(const std::string& name) const override {
        SizeI units{18, 18};
        const auto starts = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
        if (starts("Big\\") || starts("Moons\\")) units = {174, 149};
        if (starts("Tiny\\")) units = {61, 34};
        if (starts("Colorize\\Top")) units = {195, 10};
        if (starts("Colorize\\Mid")) units = {195, 43};
        if (starts("Colorize\\Base")) units = {195, 12};
        if (name == "UI\\Reflection.png") units = {181, 40};
        if (name == "UI\\Grid.png") units = {191, 113};
        if (name == "UI\\Options.png") units = {58, 18};
        if (name == "UI\\Logo.png") units = {64, 64};
        return {units.width * kPictureDensity, units.height * kPictureDensity};
    }
    RectF MeasureText(const std::string& text, TextAlign, const FontSpec& font) const override {
        EXPECT_EQ(font.unit, FontUnit::Pixel) << "texts are measured in the window's pixels";
        float lines = 1;
        for (char c : text) lines += c == '\n' ? 1.0f : 0.0f;
        return {0, 0, 0.56f * font.size * static_cast<float>(text.size()), 1.2f * font.size * lines};
    }
};

// Where an operation lands in the window's pixels: a natural picture at its scaled size, a text where its
// measured box stands in its rectangle by its alignment (a centred text may have a rectangle wider than the
// room around it).
RectF Bounds(const DrawOp& op, const DisplayScale& scale) {
    if (const auto* text = std::get_if<TextOp>(&op)) {
        const RectF box = PixelMeasurer().MeasureText(text->text, text->align, text->font);
        const float width = std::min(box.width, text->rect.width);
        const float room = text->rect.width - width;
        const float left = text->align == TextAlign::Near ? 0 : text->align == TextAlign::Center ? room / 2 : room;
        return {text->rect.x + left, text->rect.y, width, box.height};
    }
    const auto& picture = std::get<PictureOp>(op);
    if (picture.destination.width != kNaturalSize) return picture.destination;
    const SizeI file = PixelMeasurer().PictureSize(picture.name);
    const auto pixels = [&](int filePixels) {
        return std::round(static_cast<float>(filePixels) * scale.Factor() / kPictureDensity);
    };
    return {picture.destination.x, picture.destination.y, pixels(file.width), pixels(file.height)};
}

bool Overlap(const RectF& a, const RectF& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// A face composed at every DPI against its 96-DPI self: the same operations, each inside the window, each
// rectangle the 96-DPI one times the scale within a pixel, and no text over a picture or text it kept clear of.
void ExpectScalesAsOne(const std::function<DrawList(const FaceMeasurer&)>& compose, SizeI window,
                       const std::string& what) {
    const PixelMeasurer pixels;
    const DisplayScale one;
    const DrawList base = ScaledDrawList(compose(LayoutMeasurer(pixels, one)), one);
    for (const int dpi : kDpis) {
        const DisplayScale scale(dpi);
        const DrawList ops = ScaledDrawList(compose(LayoutMeasurer(pixels, scale)), scale);
        const std::string at = what + " at " + std::to_string(dpi) + " DPI";
        ASSERT_EQ(ops.size(), base.size()) << at;
        const SizeI size = scale.Pixels(window);
        const float f = scale.Factor();
        for (size_t i = 0; i < ops.size(); ++i) {
            ASSERT_EQ(ops[i].index(), base[i].index()) << at << ", operation " << i;
            if (std::holds_alternative<ClearOp>(ops[i])) continue;
            const RectF r = Bounds(ops[i], scale);
            const RectF r96 = Bounds(base[i], one);
            EXPECT_NEAR(r.x, r96.x * f, 1) << at << ", operation " << i;
            EXPECT_NEAR(r.y, r96.y * f, 1) << at << ", operation " << i;
            EXPECT_NEAR(r.width, r96.width * f, 1) << at << ", operation " << i;
            EXPECT_NEAR(r.height, r96.height * f, 1) << at << ", operation " << i;
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= static_cast<float>(size.width) + 0.01f &&
                        r.y + r.height <= static_cast<float>(size.height) + 0.01f)
                << at << ", operation " << i << " leaves the window: " << r.x << "," << r.y << " " << r.width << "x"
                << r.height;
            if (const auto* text = std::get_if<TextOp>(&ops[i])) {
                EXPECT_FLOAT_EQ(text->font.size, ScaledFont(std::get<TextOp>(base[i]).font, scale).size) << at;
                for (size_t j = 0; j < ops.size(); ++j) {
                    if (j == i || std::holds_alternative<ClearOp>(ops[j])) continue;
                    if (Overlap(r, Bounds(ops[j], scale))) {
                        EXPECT_TRUE(Overlap(r96, Bounds(base[j], one)))
                            << at << ": \"" << text->text << "\" now overlaps operation " << j;
                    }
                }
            }
        }
    }
}

WeatherData Weather(const std::string& place) {
    WeatherData w;
    w.City = place;
    w.Temperature = "-12";
    w.ConditionCode = "11";
    w.ConditionDate = "Tue, 08 Dec 2026 9:50 am EET";
    w.Sunrise = "7:14 am";
    w.Sunset = "4:37 pm";
    const char* days[] = {"Tue", "Wed", "Thu", "Fri", "Sat"};
    for (size_t i = 0; i < kForecastDays; ++i) {
        w.Forecast[i].Date = std::to_string(8 + i) + " Dec 2026";
        w.Forecast[i].Day = days[i];
        w.Forecast[i].High = std::to_string(-10 + static_cast<int>(i));
        w.Forecast[i].Low = std::to_string(-20 + static_cast<int>(i));
        w.Forecast[i].Code = std::to_string(30 + i);
    }
    return w;
}

TEST(DisplayScale, TheMainFaceScalesInEveryViewStyleAndForLongPlaces) {
    for (const std::string place : {"İstanbul", "Kahramanmaraş Büyükşehir Belediyesi Merkez"}) {
        for (const ViewStyle style : {ViewStyle::Small, ViewStyle::Medium, ViewStyle::Large}) {
            const WeatherData weather = Weather(place);
            WidgetSettings settings;
            const auto compose = [&](const FaceMeasurer& measurer) {
                FaceLayout layout = MainFaceLayout(style, "Arial", "Arial");
                layout.backgroundStretch = TargetStretch(style);
                ApplyCellVisibility(layout);
                const FaceInputs inputs{weather,
                                        settings,
                                        ConnectionState::Succeeded,
                                        true,
                                        true,
                                        testing::At(2026, 12, 8, 10),
                                        "Rüzgar: Kuzey, 10 km/s"};
                return ComposeFace(layout, inputs, measurer);
            };
            ExpectScalesAsOne(compose, {kMainFaceWidth, kMainFaceHeight},
                              place + ", style " + std::to_string(static_cast<int>(style)));
        }
    }
}

TEST(DisplayScale, TheGrowthAndTheOtherWindowsScale) {
    WidgetSettings settings;
    for (const float stretch : {1.25f, 2.0f, 3.75f}) {
        const auto backdrop = [&](const FaceMeasurer& measurer) {
            FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
            layout.backgroundStretch = stretch;
            return ComposeBackdrop(layout, settings, measurer);
        };
        ExpectScalesAsOne(backdrop, {kMainFaceWidth, kMainFaceHeight}, "backdrop " + std::to_string(stretch));
    }
    const auto info = [&](const FaceMeasurer& measurer) {
        InfoFaceLayout layout = InfoTextFormLayout();
        InfoFaceInputs inputs;
        inputs.text = "IP: 192.0.2.1\r\nGD: 07:14, GB: 16:37\r\nRüzgar: Kuzey, 10 km/s\r\nNem: %80";
        inputs.settings = settings;
        inputs.active = true;
        return ComposeInfoFace(layout, inputs, measurer);
    };
    ExpectScalesAsOne(info, {kInfoFaceWidth, kInfoFaceHeight}, "information window");
    const auto about = [&](const FaceMeasurer& measurer) {
        AboutFaceLayout layout = AboutFormLayout("nimbo.example", false);
        return ComposeAboutFace(layout, measurer);
    };
    ExpectScalesAsOne(about, {kAboutFaceWidth, kAboutFaceHeight}, "about window");
}

TEST(DisplayScale, TheFaceButtonsAreHitWhereTheyAreDrawn) {
    FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
    layout.exitBtn.visible = layout.hideBtn.visible = layout.optionsBtn.visible = true;
    layout.exitBtn.enabled = layout.hideBtn.enabled = layout.optionsBtn.enabled = true;
    for (const int dpi : kDpis) {
        const DisplayScale scale(dpi);
        for (const auto& [button, place] :
             {std::pair{FaceButton::Exit, layout.exitBtn}, std::pair{FaceButton::Hide, layout.hideBtn},
              std::pair{FaceButton::Options, layout.optionsBtn}}) {
            // Every pixel of the drawn button lies in its placeholder, and its middle hits it.
            for (int x = scale.Pixels(place.left); x < scale.Pixels(place.left + place.width); ++x) {
                const int unit = scale.Units(x);
                EXPECT_TRUE(unit >= place.left && unit < place.left + place.width) << dpi << " pixel " << x;
            }
            const int x = scale.Pixels(place.left) + scale.Pixels(place.width) / 2;
            const int y = scale.Pixels(place.top) + scale.Pixels(place.height) / 2;
            EXPECT_EQ(FaceButtonAt(layout, scale.Units(x), scale.Units(y)), button) << dpi;
        }
    }
}

}  // namespace
}  // namespace nimbo
