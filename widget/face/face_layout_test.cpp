// What the main face draws where, for the view styles, day and night, odd codes and connection states.
#include "widget/face/face_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/support/system_time_at.h"
#include "widget/face/condition_tables.h"
#include "widget/face/moon.h"
#include "widget/face/value_format.h"

namespace nimbo {
namespace {

using testing::At;

// The picture set's sizes, and text boxes of 7 pixels per byte and a line height from the font size.
class FakeMeasurer : public FaceMeasurer {
public:
    FakeMeasurer() {
        sizes = {{"Colorize\\Top.png", {195, 10}},         {"Colorize\\Mid.png", {195, 43}},
                 {"Colorize\\Base.png", {195, 12}},        {"Colorize\\Top Overlay.png", {195, 10}},
                 {"Colorize\\Mid Overlay.png", {195, 43}}, {"Colorize\\Base Overlay.png", {195, 12}},
                 {"UI\\Reflection.png", {181, 40}},        {"UI\\Grid.png", {191, 113}}};
    }
    SizeI PictureSize(const std::string& name) const override {
        const auto it = sizes.find(name);
        return it == sizes.end() ? SizeI{} : it->second;
    }
    RectF MeasureText(const std::string& text, TextAlign, const FontSpec& font) const override {
        const float perByte = widthFollowsSize ? 7.5f * font.size / 13 : 7.5f;
        return {0, 0, perByte * static_cast<float>(text.size()), font.size * 1.15f};
    }
    std::map<std::string, SizeI> sizes;
    bool widthFollowsSize = false;
};

WeatherData DayWeather() {
    WeatherData w;
    w.City = "İstanbul";
    w.Temperature = "6";
    w.ConditionCode = "11";
    w.ConditionDate = "Tue, 08 Dec 2026 9:50 am EET";
    w.Sunrise = "7:14 am";
    w.Sunset = "4:37 pm";
    const char* days[] = {"Tue", "Wed", "Thu", "Fri", "Sat"};
    for (size_t i = 0; i < kForecastDays; ++i) {
        w.Forecast[i].Day = days[i];
        w.Forecast[i].High = std::to_string(10 + i);
        w.Forecast[i].Low = std::to_string(2 + i);
        w.Forecast[i].Code = std::to_string(30 + i);
    }
    return w;
}

struct Composed {
    FaceLayout layout;
    DrawList ops;

    std::vector<PictureOp> Pictures() const {
        std::vector<PictureOp> out;
        for (const DrawOp& op : ops) {
            if (const auto* p = std::get_if<PictureOp>(&op)) out.push_back(*p);
        }
        return out;
    }
    std::vector<std::string> PictureNames() const {
        std::vector<std::string> out;
        for (const PictureOp& p : Pictures()) out.push_back(p.name);
        return out;
    }
    bool HasPicture(const std::string& name) const {
        for (const PictureOp& p : Pictures()) {
            if (p.name == name) return true;
        }
        return false;
    }
    std::vector<TextOp> Texts() const {
        std::vector<TextOp> out;
        for (const DrawOp& op : ops) {
            if (const auto* t = std::get_if<TextOp>(&op)) out.push_back(*t);
        }
        return out;
    }
    const TextOp* FindText(const std::string& text) const {
        for (const DrawOp& op : ops) {
            if (const auto* t = std::get_if<TextOp>(&op); t && t->text == text) return t;
        }
        return nullptr;
    }
    // The sky and the condition picture, the last two pictures at (0, 0) before the buttons.
    std::pair<std::string, std::string> SkyAndCondition() const {
        std::vector<std::string> atOrigin;
        for (const PictureOp& p : Pictures()) {
            if (p.destination.x == 0 && p.destination.y == 0) atOrigin.push_back(p.name);
        }
        return atOrigin.size() == 2 ? std::make_pair(atOrigin[0], atOrigin[1])
                                    : std::make_pair(std::string(), std::string());
    }
};

struct Scenario {
    WeatherData weather = DayWeather();
    WidgetSettings settings;
    ViewStyle style = ViewStyle::Large;
    ConnectionState connection = ConnectionState::Succeeded;
    bool faceActive = false;
    bool trayIconVisible = true;
    SystemTime now = At(2026, 12, 8, 10);
    bool widthFollowsSize = false;
    std::string informationText;
    bool stale = false;

    Composed Compose() const {
        Composed c{MainFaceLayout(style, "Arial", "Arial"), {}};
        c.layout.backgroundStretch = TargetStretch(style);
        ApplyCellVisibility(c.layout);
        FaceInputs inputs{weather, settings, connection, faceActive, trayIconVisible, now, informationText};
        inputs.stale = stale;
        FakeMeasurer measurer;
        measurer.widthFollowsSize = widthFollowsSize;
        c.ops = ComposeFace(c.layout, inputs, measurer);
        return c;
    }
};

TEST(FaceLayout, EachViewStyleDrawsItsGlassGridAndCells) {
    struct Case {
        ViewStyle style;
        float midHeight;
        bool grid;
        float gridSourceTop;
        size_t cellPictures;
        bool moon;
    };
    const Case cases[] = {{ViewStyle::Small, 54, false, 0, 0, false},
                          {ViewStyle::Medium, 108, true, 56, 3, false},
                          {ViewStyle::Large, 172, true, 0, 5, true}};
    for (const Case& c : cases) {
        Scenario s;
        s.style = c.style;
        const Composed face = s.Compose();
        const std::vector<PictureOp> p = face.Pictures();
        ASSERT_GE(p.size(), 2u);
        EXPECT_EQ(p[1].name, "Colorize\\Mid.png");
        EXPECT_EQ(p[1].destination.height, c.midHeight);
        size_t cells = 0;
        bool grid = false;
        for (const PictureOp& op : p) {
            if (op.name.rfind("Tiny\\Moons\\", 0) == 0) continue;
            if (op.name.rfind("Tiny\\", 0) == 0) ++cells;
            if (op.name == "UI\\Grid.png") {
                grid = true;
                EXPECT_EQ(op.destination, (RectF{36, 112, 191, 113}));
                EXPECT_EQ(op.source, (RectF{0, c.gridSourceTop, 191, 113}));
            }
        }
        EXPECT_EQ(grid, c.grid) << static_cast<int>(c.style);
        EXPECT_EQ(cells, c.cellPictures) << static_cast<int>(c.style);
        EXPECT_EQ(face.FindText("AY") != nullptr, c.moon);
        // The temperature and the place are in every style.
        EXPECT_NE(face.FindText("6°"), nullptr);
        EXPECT_NE(face.FindText("İstanbul"), nullptr);
    }
}

TEST(FaceLayout, CompositionDrawsInItsFixedOrder) {
    Scenario s;
    s.faceActive = true;
    const Composed face = s.Compose();
    ASSERT_TRUE(std::holds_alternative<ClearOp>(face.ops.front()));
    const std::vector<std::string> names = face.PictureNames();
    auto at = [&](const std::string& name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    EXPECT_LT(at("Colorize\\Base Overlay.png"), at("UI\\Grid.png"));
    EXPECT_LT(at("UI\\Grid.png"), at("Tiny\\Sun.png"));
    EXPECT_LT(at("Tiny\\Sun.png"), at("Tiny\\Moons\\" + std::to_string(MoonIndex(s.now)) + ".png"));
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(names[names.size() - 5], "Big\\None.png");  // showers: no sky behind them
    EXPECT_EQ(names[names.size() - 4], "Big\\Showers.png");
    EXPECT_EQ(names[names.size() - 3], "UI\\Close.png");
    EXPECT_EQ(names[names.size() - 2], "UI\\Less.png");
    EXPECT_EQ(names.back(), "UI\\Options.png");
}

TEST(FaceLayout, ShrinkingFromLargeToMediumHidesTheCellsFirst) {
    FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
    layout.backgroundStretch = 4.0f;
    ApplyCellVisibility(layout);
    std::vector<std::tuple<float, bool, bool, bool>> steps;
    auto compose = [&] {
        steps.emplace_back(layout.backgroundStretch, layout.dayLbl[3].visible, layout.dayLbl[4].visible,
                           layout.moonLbl.visible);
    };
    ASSERT_TRUE(ChangeViewStyle(ViewStyle::Medium, layout, compose));
    const float expected[] = {3.75f, 3.5f, 3.25f, 3.0f, 2.75f, 2.5f, 2.5f};
    ASSERT_EQ(steps.size(), 7u);  // six steps and the final composition
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(std::get<0>(steps[i]), expected[i]) << i;
        EXPECT_FALSE(std::get<1>(steps[i]) || std::get<2>(steps[i]) || std::get<3>(steps[i])) << i;
    }
    EXPECT_TRUE(layout.gridLbl.visible && layout.dayLbl[2].visible);
    EXPECT_EQ(layout.style, ViewStyle::Medium);

    steps.clear();
    EXPECT_FALSE(ChangeViewStyle(ViewStyle::Medium, layout, compose));  // already medium
    EXPECT_TRUE(steps.empty());
}

TEST(FaceLayout, GrowingShowsTheCellsOnlyAtTheEnd) {
    FaceLayout layout = MainFaceLayout(ViewStyle::Small, "Arial", "Arial");
    ApplyCellVisibility(layout);
    std::vector<std::pair<float, bool>> steps;
    auto compose = [&] { steps.emplace_back(layout.backgroundStretch, layout.gridLbl.visible); };

    ChangeViewStyle(ViewStyle::Medium, layout, compose);  // 1.25 -> 2.5: five steps and the final one
    ASSERT_EQ(steps.size(), 6u);
    for (size_t i = 0; i < 5; ++i) EXPECT_FALSE(steps[i].second) << i;
    EXPECT_EQ(steps[4].first, 2.5f);
    EXPECT_TRUE(steps[5].second);

    steps.clear();
    ChangeViewStyle(ViewStyle::Large, layout, compose);  // 2.5 -> 4.0 with the medium cells shown
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_TRUE(layout.moonLbl.visible);

    steps.clear();
    ChangeViewStyle(ViewStyle::Small, layout, compose);  // everything hidden before eleven steps down
    ASSERT_EQ(steps.size(), 12u);
    for (const auto& step : steps) EXPECT_FALSE(step.second);
    EXPECT_EQ(layout.backgroundStretch, 1.25f);
}

TEST(FaceLayout, FirstLoadGrowsWithBackdropsOnlyWhenAnimated) {
    FaceLayout layout = MainFaceLayout(ViewStyle::Large, "Arial", "Arial");
    int backdrops = 0;
    FirstLoadGrowth(layout, true, [&] { ++backdrops; });
    EXPECT_EQ(backdrops, 11);
    EXPECT_EQ(layout.backgroundStretch, 4.0f);
    EXPECT_TRUE(layout.moonLbl.visible);

    FaceLayout quick = MainFaceLayout(ViewStyle::Medium, "Arial", "Arial");
    FirstLoadGrowth(quick, false, [&] { ++backdrops; });
    EXPECT_EQ(backdrops, 11);
    EXPECT_EQ(quick.backgroundStretch, 2.5f);
    EXPECT_FALSE(quick.moonLbl.visible);

    WidgetSettings settings;
    const DrawList backdrop = ComposeBackdrop(layout, settings, FakeMeasurer());
    EXPECT_TRUE(std::holds_alternative<ClearOp>(backdrop.front()));
    EXPECT_EQ(std::get<PictureOp>(backdrop.back()).name, "Big\\Earth.png");
    EXPECT_EQ(backdrop.size(), 1u + 7u + 1u);
}

TEST(FaceLayout, SkyFollowsDayNightAndTheCondition) {
    const SystemTime fullMoonDay = At(2006, 7, 11, 12);
    ASSERT_EQ(MoonIndex(fullMoonDay), 14);
    struct Case {
        const char* code;
        const char* date;
        const char* sunrise;
        DayNight state;
        const char* sky;
        const char* condition;
    };
    const Case cases[] = {
        // 3200, not available: the sun of a fair day behind the clear sky.
        {"3200", "Tue, 11 Jul 2006 1:00 pm EET", "5:30 am", DayNight::Day, "Big\\Sun.png", "Big\\None.png"},
        {"32", "Tue, 11 Jul 2006 11:30 pm EET", "5:30 am", DayNight::Night, "Moons\\14.png", "Big\\None.png"},
        {"32", "Tue, 11 Jul 2006 4:00 am EET", "5:30 am", DayNight::Night, "Moons\\14.png", "Big\\None.png"},
        {"32", "Tue, 11 Jul 2006 8:30 pm EET", "5:30 am", DayNight::Night, "Moons\\14.png", "Big\\None.png"},
        {"32", "Tue, 11 Jul 2006 8:29 pm EET", "5:30 am", DayNight::Day, "Big\\Sun.png", "Big\\None.png"},
        {"32", "Tue, 11 Jul 2006 1:00 pm EET", "soon", DayNight::Unknown, "Big\\Earth.png", "Big\\None.png"},
        // No sky behind a thunderstorm; codes outside the table show the Earth.
        {"4", "Tue, 11 Jul 2006 1:00 pm EET", "5:30 am", DayNight::Day, "Big\\None.png", "Big\\Thunderstorms.png"},
        {"", "Tue, 11 Jul 2006 1:00 pm EET", "5:30 am", DayNight::Day, "Big\\Earth.png", "Big\\None.png"},
        {"50", "Tue, 11 Jul 2006 1:00 pm EET", "5:30 am", DayNight::Day, "Big\\Earth.png", "Big\\None.png"},
    };
    for (const Case& c : cases) {
        Scenario s;
        s.now = fullMoonDay;
        s.weather.ConditionCode = c.code;
        s.weather.ConditionDate = c.date;
        s.weather.Sunrise = c.sunrise;
        s.weather.Sunset = "8:30 pm";
        const Composed face = s.Compose();
        EXPECT_EQ(face.layout.dayNight, c.state) << c.code << " " << c.date;
        EXPECT_EQ(face.SkyAndCondition(), std::make_pair(std::string(c.sky), std::string(c.condition)))
            << c.code << " " << c.date;
    }
}

TEST(FaceLayout, FirstCellTitleFollowsTheObservationHour) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tue, 08 Dec 2026 1:59 am EET", "BU GECE"},  {"Tue, 08 Dec 2026 2:00 am EET", "BUGÜN"},
        {"Tue, 08 Dec 2026 3:59 pm EET", "BUGÜN"},    {"Tue, 08 Dec 2026 4:00 pm EET", "BU GECE"},
        {"Tue, 08 Dec 2026 12:30 am EET", "BU GECE"}, {"", "BUGÜN"}};
    for (const auto& [date, title] : cases) {
        Scenario s;
        s.weather.ConditionDate = date;
        const Composed face = s.Compose();
        const TextOp* t = face.FindText(title);
        ASSERT_NE(t, nullptr) << date;
        EXPECT_EQ(t->rect, (RectF{36, 112, 61, 34})) << date;
        EXPECT_EQ(t->align, TextAlign::Center);
        EXPECT_TRUE(t->shadow);
    }
}

TEST(FaceLayout, ForecastCellsCarryTitlesTemperaturesPicturesAndHints) {
    Scenario s;
    s.weather.Forecast[2].Code = "abc";
    s.weather.Forecast[3].Code = "99";
    s.weather.Forecast[4].Day = "Xyz";
    s.weather.Forecast[1].Low.clear();
    const Composed face = s.Compose();

    EXPECT_NE(face.FindText("YARIN"), nullptr);
    EXPECT_NE(face.FindText("PRŞ"), nullptr);  // Thu
    EXPECT_NE(face.FindText("CUM"), nullptr);  // Fri
    EXPECT_NE(face.FindText("Xyz"), nullptr);  // no English abbreviation: shown as sent

    const TextOp* high = face.FindText("10°");
    ASSERT_NE(high, nullptr);
    EXPECT_EQ(high->rect, (RectF{22, 152, 61, 34}));
    EXPECT_EQ(high->font, (FontSpec{"Arial", 10, FontUnit::Point, true, false}));
    EXPECT_EQ(high->color, kOpaqueWhite);
    const TextOp* low = face.FindText("2°");
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(low->rect, (RectF{50, 152, 61, 34}));
    EXPECT_EQ(low->font.size, 9);
    EXPECT_EQ(low->color, kTranslucentWhite);
    EXPECT_EQ(face.FindText("3°"), nullptr);  // day 2's low is empty

    // "abc": the hint of the unknown row, the picture of row 0.
    EXPECT_EQ(face.layout.dayLbl[2].hint, "Bilinmiyor");
    EXPECT_TRUE(face.layout.dayLbl[2].showHint);
    EXPECT_TRUE(face.HasPicture("Tiny\\Thunderstorms.png"));
    EXPECT_EQ(face.layout.dayLbl[3].hint, "Bilinmiyor");
    EXPECT_EQ(face.layout.dayLbl[0].hint, "Parçalı Bulutlu");  // 30
    for (const PictureOp& p : face.Pictures()) {
        if (p.name == "Tiny\\Thunderstorms.png") {
            EXPECT_EQ(p.destination, (RectF{160, 126, kNaturalSize, kNaturalSize}));
        }
    }

    Scenario empty;
    empty.weather = WeatherData{};
    const Composed blank = empty.Compose();
    EXPECT_TRUE(blank.Texts().empty());
    EXPECT_EQ(blank.SkyAndCondition(), std::make_pair(std::string("Big\\Earth.png"), std::string("Big\\None.png")));
}

TEST(FaceLayout, StaleWeatherDimsTemperaturePlaceAndForecastOnly) {
    Scenario s;
    s.faceActive = true;
    const auto opacityOf = [](const DrawOp& op) {
        if (const auto* p = std::get_if<PictureOp>(&op)) return p->opacity;
        if (const auto* t = std::get_if<TextOp>(&op)) return t->opacity;
        return 1.0f;
    };
    const Composed fresh = s.Compose();
    for (const DrawOp& op : fresh.ops) EXPECT_EQ(opacityOf(op), 1.0f);

    s.stale = true;
    const Composed stale = s.Compose();
    ASSERT_EQ(stale.ops.size(), fresh.ops.size());  // the same face, only fainter
    EXPECT_EQ(stale.FindText("6°")->opacity, kStaleOpacity);
    EXPECT_EQ(stale.FindText("İstanbul")->opacity, kStaleOpacity);
    EXPECT_EQ(stale.FindText("BUGÜN")->opacity, kStaleOpacity);
    EXPECT_EQ(stale.FindText("14°")->opacity, kStaleOpacity);
    EXPECT_EQ(stale.FindText("AY")->opacity, 1.0f);
    for (const PictureOp& picture : stale.Pictures()) {
        const bool forecast = picture.name.rfind("Tiny\\", 0) == 0 && picture.name.rfind("Tiny\\Moons", 0) != 0;
        EXPECT_EQ(picture.opacity, forecast ? kStaleOpacity : 1.0f) << picture.name;
    }

    // What the connection is doing stays as clear as ever.
    s.connection = ConnectionState::Failed;
    const Composed failed = s.Compose();
    EXPECT_EQ(failed.FindText("Bağlantı yok")->opacity, 1.0f);
    EXPECT_EQ(failed.FindText("6°")->opacity, kStaleOpacity);
}

TEST(FaceLayout, MoonCellShowsThePhaseOfNowAndThePictureOfToday) {
    Scenario s;
    s.now = At(2006, 7, 11, 12);
    const Composed face = s.Compose();
    EXPECT_TRUE(face.HasPicture("Tiny\\Moons\\14.png"));
    EXPECT_EQ(face.layout.moonLbl.hint, MoonPhaseName(14));
    const TextOp* title = face.FindText("AY");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->rect, (RectF{160, 169, 61, 34}));
    const TextOp* percent = face.FindText("%" + std::to_string(MoonPhase(s.now)));
    ASSERT_NE(percent, nullptr);
    EXPECT_EQ(percent->rect, (RectF{160, 209, 61, 34}));

    s.weather.Sunrise.clear();  // no astronomy, no moon cell
    EXPECT_EQ(s.Compose().FindText("AY"), nullptr);
}

// The set has moon pictures 0 to 27, no small "Haze", and a neutral small picture for "not available".
TEST(FaceLayout, EveryPictureAskedForIsOneTheSetHas) {
    Scenario s;
    s.now = At(2006, 7, 25, 12);
    ASSERT_EQ(MoonIndex(s.now), 28);
    s.weather.ConditionDate = "Tue, 25 Jul 2006 11:30 pm EET";
    s.weather.ConditionCode = "31";
    const char* codes[] = {"19", "21", "22", "3200", "99"};
    for (size_t i = 0; i < kForecastDays; ++i) s.weather.Forecast[i].Code = codes[i];
    const Composed face = s.Compose();
    EXPECT_TRUE(face.HasPicture("Tiny\\Moons\\0.png"));
    EXPECT_EQ(face.SkyAndCondition().first, "Moons\\0.png");
    const std::vector<std::string> names = face.PictureNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "Tiny\\Sun Haze.png"), 3);
    EXPECT_TRUE(face.HasPicture("Tiny\\None.png"));
    EXPECT_TRUE(face.HasPicture("Tiny\\Blinmiyor.png"));  // an unknown code: a name the set lacks, so nothing drawn
}

TEST(FaceLayout, TemperatureAndPlaceAreMeasuredAndRightAnchored) {
    Scenario s;
    s.weather.Temperature = "-12";
    const Composed face = s.Compose();
    // "-12°" is 5 bytes: 37.5 wide rounds to 38 (even), plus 1; 35 x 1.15 = 40.25 high gives 41.
    const TextOp* temperature = face.FindText("-12°");
    ASSERT_NE(temperature, nullptr);
    EXPECT_EQ(temperature->rect, (RectF{225 - 39 - 4, 56, 39, 41}));
    EXPECT_EQ(temperature->align, TextAlign::Far);
    EXPECT_EQ(temperature->font, (FontSpec{"Arial", 35, FontUnit::Pixel, true, false}));
    EXPECT_EQ(face.layout.temperatureLbl.left, 182);
    // "İstanbul" is 9 bytes: 67.5 rounds to 68, plus 1; 13 x 1.15 = 14.95 gives 16.
    const TextOp* place = face.FindText("İstanbul");
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->rect, (RectF{225 - 69 - 16, 93, 69, 16}));

    s.weather.Temperature.clear();
    EXPECT_EQ(s.Compose().layout.temperatureLbl.width, 78);  // nothing measured
}

// The room beside the sky picture is 225 - 16 - 130 = 79 pixels; the fake's letters are 7.5 x size / 13 wide.
TEST(FaceLayout, ALongPlaceNameShrinksThenIsCutAndStaysWholeInTheHint) {
    const struct {
        std::string city;
        std::string shown;
        float size;
    } cases[] = {
        {"Eskişehir", "Eskişehir", 13},
        {"Milano/Linate", "Milano/Linate", 10},
        {"Afyonkarahisar", "Afyonkarahisar", 9},
        {"Kahramanmaraş", "Kahramanmaraş", 9},
        {"A very long place name", "A very long…", 9},  // no blank before the ellipsis
        {"Çanakkale Çanakkale", "Çanakkale…", 9},       // whole characters only
    };
    for (const auto& c : cases) {
        Scenario s;
        s.widthFollowsSize = true;
        s.weather.City = c.city;
        const Composed face = s.Compose();
        const TextOp* place = face.FindText(c.shown);
        ASSERT_NE(place, nullptr) << c.city;
        EXPECT_EQ(place->font.size, c.size) << c.city;
        EXPECT_GE(place->rect.x, 130) << c.city;
        EXPECT_EQ(face.layout.cityNameLbl.hint, c.city);
        EXPECT_TRUE(face.layout.cityNameLbl.showHint);
        EXPECT_EQ(face.layout.cityNameLbl.font.size, 13) << "the designed font stays for the next composition";
    }
}

TEST(FaceLayout, ConnectingHidesTheButtonsAndSaysSo) {
    Scenario s;
    s.faceActive = true;
    s.connection = ConnectionState::Outstanding;
    const Composed face = s.Compose();
    for (const char* button : {"UI\\Close.png", "UI\\Less.png", "UI\\Options.png"}) {
        EXPECT_FALSE(face.HasPicture(button)) << button;
    }
    const TextOp* connecting = face.FindText("Bağlantı kuruluyor...");  // made smaller, never cut
    ASSERT_NE(connecting, nullptr);
    EXPECT_EQ(connecting->font.size, 9);
    EXPECT_EQ(face.FindText("İstanbul"), nullptr);
    EXPECT_FALSE(face.layout.exitBtn.enabled || face.layout.hideBtn.visible || face.layout.optionsBtn.visible);
    EXPECT_EQ(FaceButtonAt(face.layout, 200, 45), FaceButton::None);
}

TEST(FaceLayout, ButtonsShowOnlyWhileTheFaceIsActive) {
    Scenario s;
    Composed face = s.Compose();
    EXPECT_FALSE(face.HasPicture("UI\\Close.png") || face.HasPicture("UI\\Less.png"));
    EXPECT_TRUE(face.layout.hideBtn.visible);  // visible with the tray icon, but drawn only while active

    s.faceActive = true;
    face = s.Compose();
    for (const PictureOp& p : face.Pictures()) {
        if (p.name == "UI\\Close.png") {
            EXPECT_EQ(p.destination, (RectF{194, 41, kNaturalSize, kNaturalSize}));
        }
        if (p.name == "UI\\Less.png") {
            EXPECT_EQ(p.destination, (RectF{177, 41, kNaturalSize, kNaturalSize}));
        }
        if (p.name == "UI\\Options.png") {
            EXPECT_EQ(p.destination, (RectF{118, 41, kNaturalSize, kNaturalSize}));
        }
    }
    EXPECT_TRUE(face.HasPicture("UI\\Options.png"));
    // A press finds the button under it: right and bottom edges are outside.
    struct Press {
        int x, y;
        FaceButton button;
    };
    for (const Press& p :
         {Press{194, 41, FaceButton::Exit}, Press{211, 58, FaceButton::Exit}, Press{212, 45, FaceButton::None},
          Press{177, 50, FaceButton::Hide}, Press{118, 41, FaceButton::Options}, Press{175, 58, FaceButton::Options},
          Press{150, 59, FaceButton::None}, Press{10, 10, FaceButton::None}}) {
        EXPECT_EQ(FaceButtonAt(face.layout, p.x, p.y), p.button) << p.x << "," << p.y;
    }

    s.trayIconVisible = false;
    face = s.Compose();
    EXPECT_FALSE(face.HasPicture("UI\\Less.png"));
    EXPECT_TRUE(face.HasPicture("UI\\Close.png"));
    EXPECT_TRUE(face.layout.hideBtn.enabled);
    EXPECT_EQ(FaceButtonAt(face.layout, 180, 45), FaceButton::None);
}

TEST(FaceLayout, BackgroundSettingChoosesTheTint) {
    struct Case {
        uint8_t background;
        bool glassEffect;
        uint8_t opacity;
        bool glass;
        float red, green, blue, alpha;
    };
    const Case cases[] = {
        {0, false, 150, false, 0, 0, 0, 0},           {1, false, 150, true, 0, 0, 0, 0},
        {2, false, 150, true, 0, 0, 0, 120},          {3, false, 150, true, 128, 64, 0, 255},
        {4, false, 150, true, 0x30, 0x60, 0x90, 255},  // glass effect off: opaque whatever the opacity
        {4, true, 150, true, 0x30, 0x60, 0x90, 150},  {9, true, 40, true, 0x30, 0x60, 0x90, 40},
    };
    for (const Case& c : cases) {
        Scenario s;
        s.settings.background = c.background;
        s.settings.backColor = 0x906030;  // red in the low byte
        s.settings.glassEffect = c.glassEffect;
        s.settings.glassOpacity = c.opacity;
        const Composed face = s.Compose();
        const std::vector<PictureOp> p = face.Pictures();
        const bool glass = !p.empty() && p[0].name == "Colorize\\Top.png";
        ASSERT_EQ(glass, c.glass) << int{c.background};
        if (!glass) {
            for (const PictureOp& op : p) EXPECT_EQ(op.name.rfind("Colorize\\", 0), std::string::npos);
            continue;
        }
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(p[i].mode, PictureMode::Tinted);
            EXPECT_FLOAT_EQ(p[i].matrix[0], 2 * c.red / 255) << int{c.background};
            EXPECT_FLOAT_EQ(p[i].matrix[6], 2 * c.green / 255) << int{c.background};
            EXPECT_FLOAT_EQ(p[i].matrix[12], 2 * c.blue / 255) << int{c.background};
            EXPECT_FLOAT_EQ(p[i].matrix[18], c.alpha / 255) << int{c.background};
        }
        EXPECT_EQ(p[3].mode, PictureMode::Plain);  // the overlays keep their colour
    }
}

TEST(FaceLayout, SmallestGlassWithATenPixelMiddleIsTwelvePixelsInTheMiddle) {
    Scenario s;
    s.style = ViewStyle::Small;
    FakeMeasurer measurer;
    measurer.sizes["Colorize\\Mid.png"] = {195, 10};
    FaceLayout layout = MainFaceLayout(ViewStyle::Small, "Arial", "Arial");
    const FaceInputs inputs{s.weather, s.settings, s.connection, false, true, s.now};
    const DrawList ops = ComposeFace(layout, inputs, measurer);
    const auto& mid = std::get<PictureOp>(ops[2]);
    ASSERT_EQ(mid.name, "Colorize\\Mid.png");
    EXPECT_EQ(mid.destination.height, 12);
    EXPECT_EQ(std::get<PictureOp>(ops[3]).destination.y, 47 + 10 + 12);
}

TEST(FaceLayout, TheWeatherPictureHintsTheInformationTextAndStylesMapFromSettings) {
    Scenario s;
    s.informationText = "Açık\r\nIP: 1.2.3.4";
    const Composed face = s.Compose();
    EXPECT_EQ(face.layout.weatherLbl.hint, s.informationText);
    EXPECT_EQ(ViewStyleOf(0), ViewStyle::Small);
    EXPECT_EQ(ViewStyleOf(1), ViewStyle::Medium);
    EXPECT_EQ(ViewStyleOf(2), ViewStyle::Large);
    EXPECT_EQ(ViewStyleOf(200), ViewStyle::Large);
    EXPECT_EQ(MainFacePictures().size(), 14u);
}

TEST(FaceLayout, AwkwardFeedValuesDrawWhatTheyCanAndNothingElse) {
    Scenario s;
    s.weather.ConditionCode = "2147483648";  // beyond 32 bits: no code
    s.weather.Temperature = std::string(300, '9');
    s.weather.City = "\xff\xfe bad UTF-8";
    s.weather.Sunrise = "25:99 am";
    s.weather.Sunset = "-1";
    s.weather.ConditionDate = "\x01\x02";
    s.weather.Forecast[0].Code = "-7";
    s.weather.Forecast[1].Code = " 12 ";
    s.weather.Forecast[2].Code = "3200";
    const Composed face = s.Compose();
    EXPECT_EQ(face.layout.dayNight, DayNight::Unknown);
    EXPECT_EQ(face.SkyAndCondition(), std::make_pair(std::string("Big\\Earth.png"), std::string("Big\\None.png")));
    EXPECT_EQ(face.layout.dayLbl[0].hint, "Bilinmiyor");
    EXPECT_EQ(face.layout.dayLbl[1].hint, WeatherIcons[12].text);
    EXPECT_EQ(face.layout.dayLbl[2].hint, "Bilinmiyor");
    EXPECT_TRUE(face.HasPicture(std::string("Tiny\\") + ForecastIconNames[49] + ".png"));
    // A very long temperature still ends at the glass's right edge; it starts off the face.
    const TextOp* temperature = face.FindText(s.weather.Temperature + "°");
    ASSERT_NE(temperature, nullptr);
    EXPECT_EQ(temperature->rect.x + temperature->rect.width, 221);
}

}  // namespace
}  // namespace nimbo
