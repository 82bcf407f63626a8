// The main face: its placeholders, what one composition draws where, and the three view styles with their
// growth and shrink animation.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widget/connection_state.h"
#include "widget/face/compositor.h"
#include "widget/face/sun_times.h"
#include "widget/system_time.h"
#include "widget/weather_data.h"
#include "widget/widget_settings.h"

namespace nimbo {

inline constexpr int kMainFaceWidth = 233;
inline constexpr int kMainFaceHeight = 248;

// An invisible, disabled label or button of the main form: where, whether and in which font an element is drawn.
struct Placeholder {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = true;
    bool enabled = false;
    FontSpec font;
    std::string hint;
    bool showHint = false;

    RectF Rect() const { return RectOfBounds(left, top, left + width, top + height); }
};

Placeholder MakePlaceholder(int left, int top, int width, int height, FontSpec font = {});

enum class ViewStyle : uint8_t { Small = 0, Medium = 1, Large = 2 };

// Out-of-range settings values count as the large style, the default.
ViewStyle ViewStyleOf(uint8_t setting);
float TargetStretch(ViewStyle style);

// The main form's placeholders and the face state that compositions read and leave behind.
struct FaceLayout {
    Placeholder weatherLbl;
    Placeholder backgrndLbl;
    Placeholder temperatureLbl;
    Placeholder cityNameLbl;
    Placeholder gridLbl;
    std::array<Placeholder, kForecastDays> dayLbl;
    Placeholder moonLbl;
    Placeholder infoTextLbl;
    Placeholder exitBtn;
    Placeholder hideBtn;
    Placeholder optionsBtn;

    ViewStyle style = ViewStyle::Large;
    float backgroundStretch = 1.25f;  // BackgroundStretch
    DayNight dayNight = DayNight::Unknown;
    std::string informationText;  // assembled at each composition; the information window measures it

    // The actions that the buttons and menus share, enabled while no download runs.
    bool optionsActionEnabled = true;
    bool exitActionEnabled = true;
    bool refreshActionEnabled = true;
    bool addLocActionEnabled = true;
    bool hideActionEnabled = true;
};

// The form as designed: fonts from Appearance/TempFontName and Appearance/CityFontName, the grid hidden,
// BackgroundStretch 1.25.
FaceLayout MainFaceLayout(ViewStyle style, const std::string& tempFontName, const std::string& cityFontName);

// Shows and hides the grid and the cells for the layout's style.
void ApplyCellVisibility(FaceLayout& layout);

// The pictures the main window loads once: the glass, the buttons, the grid and the fixed sky pictures.
std::vector<std::string> MainFacePictures();

// Everything else a composition reads.
struct FaceInputs {
    const WeatherData& weather;
    const WidgetSettings& settings;
    ConnectionState connection = ConnectionState::Succeeded;
    bool faceActive = false;      // FaceActive: the buttons are drawn
    bool trayIconVisible = true;  // HideBtn shows only with the tray icon
    SystemTime now;               // local time: the moon's percentage and index, and today for the cells
};

// The glass tint for Appearance/Background; false for 0, which draws no glass at all.
bool BackgroundTint(const WidgetSettings& settings, GlassTint& tint);

// One full redraw: clear, buttons' state, information text, background, grid, cells, moon, temperature, place,
// sky, condition picture, buttons. Updates the layout (sizes, hints, day or night, actions) and returns what to
// draw; the caller presents it.
DrawList ComposeFace(FaceLayout& layout, const FaceInputs& inputs, const FaceMeasurer& measurer);

// The reduced redraw of the first-load growth: clear, background, "Earth.png".
DrawList ComposeBackdrop(const FaceLayout& layout, const WidgetSettings& settings, const FaceMeasurer& measurer);

enum class ViewStyleAction : uint8_t { Mini, Midi, Maxi };

// Runs MiniActionExecute, MidiActionExecute or MaxiActionExecute: `compose` is called for every step of the
// growth or shrink (0.25 apart) and once at the end. Returns false when nothing happened (medium while medium).
bool ExecuteViewStyleAction(ViewStyleAction action, FaceLayout& layout, const std::function<void()>& compose);

// The growth after the first feed: with `animate`, a backdrop per 0.25 step up to the style's stretch;
// otherwise the stretch is set at once. Then the style's cells are shown.
void FirstLoadGrowth(FaceLayout& layout, bool animate, const std::function<void()>& composeBackdrop);

}  // namespace nimbo
