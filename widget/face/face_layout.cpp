// The main face's placeholders, its composition from the weather record, and the view-style animation.
#include "widget/face/face_layout.h"

#include <optional>
#include <utility>

#include "widget/face/condition_tables.h"
#include "widget/face/feed_numbers.h"
#include "widget/face/forecast_days.h"
#include "widget/face/moon.h"
#include "widget/face/value_format.h"

namespace nimbo {

namespace {

constexpr float kStretchStep = 0.25f;
constexpr float kCellTitleDy = -14;
constexpr float kCellValueDy = 26;
constexpr float kCellHighLowDx = 14;

PictureOp NaturalPicture(std::string name, int x, int y) {
    PictureOp op;
    op.name = std::move(name);
    op.destination = {static_cast<float>(x), static_cast<float>(y), kNaturalSize, kNaturalSize};
    return op;
}

TextOp Text(std::string text, RectF rect, FontSpec font, uint32_t color, TextAlign align) {
    TextOp op;
    op.text = std::move(text);
    op.rect = rect;
    op.font = std::move(font);
    op.color = color;
    op.align = align;
    op.shadow = true;  // every text of the main face has its shadow, so it reads on any desktop
    return op;
}

// The font of the forecast temperatures and the moon's percentage: the place name's family, bold, in points.
FontSpec ValueFont(const Placeholder& cityNameLbl, float points) {
    FontSpec font;
    font.family = cityNameLbl.font.family;
    font.size = points;
    font.unit = FontUnit::Point;
    font.bold = true;
    return font;
}

// The row of a feed code in a 50-row table: `fallback` when the text is no number, row 49 outside the table.
int TableRow(const std::string& code, int fallback) {
    const std::optional<int32_t> n = ReadFeedInteger(code);
    const int row = n ? *n : fallback;
    return row >= 0 && row <= kUnknownConditionRow ? row : kUnknownConditionRow;
}

int ConditionCode(const WeatherData& weather) {
    const std::optional<int32_t> code = ReadFeedInteger(weather.ConditionCode);
    return code ? *code : -1;
}

// 3200, "not available", has a neutral picture of its own; other codes outside the table name none.
std::string ForecastPicture(const std::string& code) {
    if (ReadFeedInteger(code) == 3200) return "Tiny\\None.png";
    return std::string("Tiny\\") + ForecastIconNames[TableRow(code, 0)] + ".png";
}

void DrawForecastCell(DrawList& ops, Placeholder& cell, const ForecastCell& forecast, const FaceLayout& layout) {
    if (!forecast.day) return;
    const ForecastDay& day = *forecast.day;
    const RectF rect = cell.Rect();
    if (!forecast.title.empty()) {
        ops.push_back(
            Text(forecast.title, MovedRect(rect, 0, kCellTitleDy), cell.font, kOpaqueWhite, TextAlign::Center));
    }
    if (!day.High.empty()) {
        ops.push_back(Text(day.High + "°", MovedRect(rect, -kCellHighLowDx, kCellValueDy),
                           ValueFont(layout.cityNameLbl, 10), kOpaqueWhite, TextAlign::Center));
    }
    if (!day.Low.empty()) {
        ops.push_back(Text(day.Low + "°", MovedRect(rect, kCellHighLowDx, kCellValueDy),
                           ValueFont(layout.cityNameLbl, 9), kTranslucentWhite, TextAlign::Center));
    }
    if (!day.Code.empty()) {
        cell.showHint = true;
        cell.hint = WeatherIcons[TableRow(day.Code, kUnknownConditionRow)].text;
        ops.push_back(NaturalPicture(ForecastPicture(day.Code), cell.left, cell.top));
    }
}

void DrawMoonCell(DrawList& ops, FaceLayout& layout, const SystemTime& now) {
    Placeholder& moon = layout.moonLbl;
    const int index = MoonIndex(now);
    moon.showHint = true;
    moon.hint = MoonPhaseName(index);
    ops.push_back(
        NaturalPicture("Tiny\\Moons\\" + std::to_string(MoonPictureNumber(index)) + ".png", moon.left, moon.top));
    const RectF rect = moon.Rect();
    ops.push_back(Text("AY", MovedRect(rect, 0, kCellTitleDy), moon.font, kOpaqueWhite, TextAlign::Center));
    ops.push_back(Text("%" + std::to_string(MoonPhase(now)), MovedRect(rect, 0, kCellValueDy),
                       ValueFont(layout.cityNameLbl, 10), kOpaqueWhite, TextAlign::Center));
}

// Sizes the label to the measured text and anchors its right edge `gap` pixels inside the glass's right edge.
void DrawAnchoredText(DrawList& ops, Placeholder& label, const std::string& text, int anchor, int gap,
                      const FaceMeasurer& measurer, const FontSpec& font) {
    const RectF box = measurer.MeasureText(text, TextAlign::Far, font);
    label.width = RoundHalfEven(box.width) + 1;
    label.height = RoundHalfEven(box.height) + 1;
    label.left = anchor - label.width - gap;
    if (!text.empty()) ops.push_back(Text(text, label.Rect(), font, kOpaqueWhite, TextAlign::Far));
}

// Where the sky pictures' drawing ends at the place's height (only the back cloud of "Many Clouds" reaches
// further).
constexpr int kPlaceRoomLeft = 130;
constexpr float kSmallestPlaceSize = 9;

// Removes the last UTF-8 character: its continuation bytes, then its lead byte.
void DropLastCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
}

// The place in the room beside the sky picture: a smaller size of its font first, then, for a name, cut with
// "…" (the connection's words are only made smaller). The whole text stays in the label's hint.
void DrawPlace(DrawList& ops, Placeholder& label, const std::string& place, bool mayCut, int anchor, int gap,
               const FaceMeasurer& measurer) {
    const int room = anchor - gap - kPlaceRoomLeft;
    const auto fits = [&](const std::string& text, const FontSpec& font) {
        return RoundHalfEven(measurer.MeasureText(text, TextAlign::Far, font).width) + 1 <= room;
    };
    FontSpec font = label.font;
    while (!fits(place, font) && font.size - 1 >= kSmallestPlaceSize) font.size -= 1;
    std::string shown = place;
    if (mayCut && !fits(shown, font)) {
        std::string kept = place;
        do {
            DropLastCharacter(kept);
            while (!kept.empty() && kept.back() == ' ') kept.pop_back();
            shown = kept + "\xE2\x80\xA6";
        } while (!kept.empty() && !fits(shown, font));
    }
    label.hint = place;
    label.showHint = !place.empty();
    DrawAnchoredText(ops, label, shown, anchor, gap, measurer, font);
}

std::string SkyPicture(DayNight dayNight, int code, int moonIndex) {
    if (code == 3200) code = 32;  // "not available" shows the sky of a fair day
    if (code < 0 || code > kUnknownConditionRow) return "Big\\Earth.png";
    if (!WeatherIcons[code].skyFlag) return "Big\\None.png";
    switch (dayNight) {
        case DayNight::Night:
            return "Moons\\" + std::to_string(MoonPictureNumber(moonIndex)) + ".png";
        case DayNight::Day:
            return "Big\\Sun.png";
        case DayNight::Unknown:
            break;
    }
    return "Big\\Earth.png";
}

std::string ConditionPicture(int code) {
    if (code < 0 || code > kUnknownConditionRow) return "Big\\None.png";
    return std::string("Big\\") + WeatherIcons[code].pictureName + ".png";
}

void DrawGlass(DrawList& ops, const FaceLayout& layout, const WidgetSettings& settings, const FaceMeasurer& measurer) {
    GlassTint tint;
    if (!layout.backgrndLbl.visible || !BackgroundTint(settings, tint)) return;
    DrawBackground(ops, measurer, layout.backgrndLbl.left, layout.backgrndLbl.top, layout.backgrndLbl.width,
                   layout.backgroundStretch, tint);
}

}  // namespace

Placeholder MakePlaceholder(int left, int top, int width, int height, FontSpec font) {
    Placeholder p;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = height;
    p.font = std::move(font);
    return p;
}

ViewStyle ViewStyleOf(uint8_t setting) {
    switch (setting) {
        case 0:
            return ViewStyle::Small;
        case 1:
            return ViewStyle::Medium;
        default:
            return ViewStyle::Large;
    }
}

float TargetStretch(ViewStyle style) {
    switch (style) {
        case ViewStyle::Small:
            return 1.25f;
        case ViewStyle::Medium:
            return 2.5f;
        case ViewStyle::Large:
            break;
    }
    return 4.0f;
}

FaceLayout MainFaceLayout(ViewStyle style, const std::string& tempFontName, const std::string& cityFontName) {
    const FontSpec cellFont{"Tahoma", 11, FontUnit::Pixel, false, false};
    FaceLayout layout;
    layout.style = style;
    layout.weatherLbl = MakePlaceholder(0, 0, 174, 149);
    layout.backgrndLbl = MakePlaceholder(30, 47, 195, 194);
    layout.temperatureLbl = MakePlaceholder(144, 56, 78, 37, {tempFontName, 35, FontUnit::Pixel, true, false});
    layout.cityNameLbl = MakePlaceholder(163, 93, 51, 16, {cityFontName, 13, FontUnit::Pixel, false, false});
    layout.gridLbl = MakePlaceholder(36, 112, 191, 113);
    layout.gridLbl.visible = false;
    const int cellLefts[] = {36, 98, 160, 36, 98};
    const int cellTops[] = {126, 126, 126, 183, 183};
    for (size_t i = 0; i < kForecastDays; ++i) {
        layout.dayLbl[i] = MakePlaceholder(cellLefts[i], cellTops[i], 61, 34, cellFont);
    }
    layout.moonLbl = MakePlaceholder(160, 183, 61, 34, cellFont);
    layout.infoTextLbl = MakePlaceholder(36, 230, 55, 13, cellFont);
    layout.exitBtn = MakePlaceholder(194, 41, 18, 18);
    layout.hideBtn = MakePlaceholder(177, 41, 18, 18);
    layout.optionsBtn = MakePlaceholder(118, 41, 58, 18);
    layout.exitBtn.hint = "Kapat";
    layout.hideBtn.hint = "Gizle";
    layout.optionsBtn.hint = "Özelleştirmek için tıklatın...";
    for (Placeholder* button : {&layout.exitBtn, &layout.hideBtn, &layout.optionsBtn}) {
        button->visible = false;
        button->showHint = true;
    }
    return layout;
}

void ApplyCellVisibility(FaceLayout& layout) {
    const bool medium = layout.style != ViewStyle::Small;
    const bool large = layout.style == ViewStyle::Large;
    layout.gridLbl.visible = medium;
    for (size_t i = 0; i < kForecastDays; ++i) layout.dayLbl[i].visible = i < 3 ? medium : large;
    layout.moonLbl.visible = large;
}

std::vector<std::string> MainFacePictures() {
    std::vector<std::string> names(kBackgroundPictures.begin(), kBackgroundPictures.end());
    for (const char* name : {"UI\\Close.png", "UI\\Less.png", "UI\\Options.png", "UI\\Grid.png", "Big\\Earth.png",
                             "Big\\Sun.png", "Big\\None.png"}) {
        names.emplace_back(name);
    }
    return names;
}

bool BackgroundTint(const WidgetSettings& settings, GlassTint& tint) {
    switch (settings.background) {
        case 0:
            return false;
        case 1:
            tint = {0x000000, 0};
            return true;
        case 2:
            tint = {0x000000, 120};
            return true;
        case 3:
            tint = {0x804000, 255};
            return true;
        default:
            break;
    }
    // A Windows colour value holds red in its low byte.
    const uint32_t c = settings.backColor;
    tint.rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    tint.alpha = settings.glassEffect ? settings.glassOpacity : 255;
    return true;
}

DrawList ComposeFace(FaceLayout& layout, const FaceInputs& inputs, const FaceMeasurer& measurer) {
    const WeatherData& weather = inputs.weather;
    const bool connecting = inputs.connection == ConnectionState::Outstanding;
    DrawList ops;
    ops.push_back(ClearOp{});

    const bool buttons = inputs.faceActive && !connecting;
    layout.exitBtn.enabled = layout.exitBtn.visible = buttons;
    layout.optionsBtn.enabled = layout.optionsBtn.visible = buttons;
    layout.hideBtn.enabled = buttons;
    layout.hideBtn.visible = inputs.trayIconVisible && !connecting;
    layout.optionsActionEnabled = layout.exitActionEnabled = !connecting;
    layout.refreshActionEnabled = layout.addLocActionEnabled = !connecting;
    layout.hideActionEnabled = !connecting && inputs.trayIconVisible;

    layout.informationText = InformationText(inputs.connection, weather, inputs.settings);
    layout.weatherLbl.hint = layout.informationText;

    DrawGlass(ops, layout, inputs.settings, measurer);

    if (layout.gridLbl.visible) {
        const SizeI grid = measurer.PictureSize("UI\\Grid.png");
        const int top = layout.style == ViewStyle::Small    ? grid.height
                        : layout.style == ViewStyle::Medium ? grid.height / 2
                                                            : 0;
        PictureOp op;
        op.name = "UI\\Grid.png";
        op.destination = {static_cast<float>(layout.gridLbl.left), static_cast<float>(layout.gridLbl.top),
                          static_cast<float>(grid.width), static_cast<float>(grid.height)};
        op.source = {0, static_cast<float>(top), static_cast<float>(grid.width), static_cast<float>(grid.height)};
        ops.push_back(op);
    }

    const std::array<ForecastCell, kForecastDays> cells = ForecastCells(weather, inputs.now);
    for (size_t i = 0; i < kForecastDays; ++i) {
        if (layout.dayLbl[i].visible) DrawForecastCell(ops, layout.dayLbl[i], cells[i], layout);
    }
    if (layout.moonLbl.visible && !weather.Sunrise.empty()) DrawMoonCell(ops, layout, inputs.now);

    const int anchor = layout.backgrndLbl.left + layout.backgrndLbl.width;
    const std::string temperature = TemperatureText(weather.Temperature);
    if (layout.temperatureLbl.visible && !temperature.empty()) {
        DrawAnchoredText(ops, layout.temperatureLbl, temperature, anchor, 4, measurer, layout.temperatureLbl.font);
    }
    if (layout.cityNameLbl.visible) {
        DrawPlace(ops, layout.cityNameLbl, PlaceText(inputs.connection, weather),
                  inputs.connection == ConnectionState::Succeeded, anchor, 16, measurer);
    }

    if (layout.weatherLbl.visible) {
        layout.dayNight = DayOrNight(weather);
        const int code = ConditionCode(weather);
        ops.push_back(NaturalPicture(SkyPicture(layout.dayNight, code, MoonIndex(inputs.now)), 0, 0));
        ops.push_back(NaturalPicture(ConditionPicture(code), 0, 0));
    }

    if (inputs.faceActive) {
        if (layout.exitBtn.visible)
            ops.push_back(NaturalPicture("UI\\Close.png", layout.exitBtn.left, layout.exitBtn.top));
        if (layout.hideBtn.visible)
            ops.push_back(NaturalPicture("UI\\Less.png", layout.hideBtn.left, layout.hideBtn.top));
        if (layout.optionsBtn.visible) {
            ops.push_back(NaturalPicture("UI\\Options.png", layout.optionsBtn.left, layout.optionsBtn.top));
        }
    }
    return ops;
}

DrawList ComposeBackdrop(const FaceLayout& layout, const WidgetSettings& settings, const FaceMeasurer& measurer) {
    DrawList ops;
    ops.push_back(ClearOp{});
    DrawGlass(ops, layout, settings, measurer);
    ops.push_back(NaturalPicture("Big\\Earth.png", 0, 0));
    return ops;
}

bool ExecuteViewStyleAction(ViewStyleAction action, FaceLayout& layout, const std::function<void()>& compose) {
    auto grow = [&] {
        while (TargetStretch(layout.style) > layout.backgroundStretch) {
            layout.backgroundStretch += kStretchStep;
            compose();
        }
    };
    auto shrink = [&] {
        while (TargetStretch(layout.style) < layout.backgroundStretch) {
            layout.backgroundStretch -= kStretchStep;
            compose();
        }
    };
    // Cells appear only after the glass has grown, and go before it shrinks.
    switch (action) {
        case ViewStyleAction::Mini:
            layout.style = ViewStyle::Small;
            ApplyCellVisibility(layout);
            shrink();
            break;
        case ViewStyleAction::Midi:
            if (layout.style == ViewStyle::Medium) return false;
            if (layout.style == ViewStyle::Small) {
                layout.style = ViewStyle::Medium;
                grow();
                ApplyCellVisibility(layout);
            } else {
                layout.style = ViewStyle::Medium;
                ApplyCellVisibility(layout);
                shrink();
            }
            break;
        case ViewStyleAction::Maxi:
            layout.style = ViewStyle::Large;
            grow();
            ApplyCellVisibility(layout);
            break;
    }
    compose();
    return true;
}

void FirstLoadGrowth(FaceLayout& layout, bool animate, const std::function<void()>& composeBackdrop) {
    const float target = TargetStretch(layout.style);
    if (animate) {
        while (target > layout.backgroundStretch) {
            layout.backgroundStretch += kStretchStep;
            composeBackdrop();
        }
    } else {
        layout.backgroundStretch = target;
    }
    ApplyCellVisibility(layout);
}

}  // namespace nimbo
