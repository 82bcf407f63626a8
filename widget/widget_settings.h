// WidgetSettings, the main form's in-memory copy of Options.ini, and the two operations that move it.
#pragma once

#include <cstdint>
#include <string>

#include "widget/settings_file.h"

namespace nimbo {

// Refresh period of CheckTimer for a General/UpdatePeriod index; unknown indices mean five minutes.
uint32_t UpdatePeriodMs(int32_t index);

struct WidgetSettings {
    bool autoUpdate = true;
    uint32_t updatePeriodMs = 900000;
    bool showTrayIcon = true;
    bool trayTemperature = true;  // the tray icon shows the temperature
    uint8_t viewStyle = 2;
    uint8_t background = 2;
    uint32_t backColor = 8421504;
    bool glassEffect = false;
    uint8_t glassOpacity = 150;
    bool showIP = true;
    bool showDate = false;
    bool showHijri = false;
    bool showSituation = false;
    bool showSunInfo = false;
    bool showWind = false;
    bool showHumidity = false;
    bool showVisibility = false;
    bool showChill = false;
    bool showWeatherText = true;
    bool fadeEffect = true;
    bool showInfoText = true;
    bool alwaysTop = false;
    bool firstUsage = true;
    // Kept apart: whether the widget was hibernating when last saved, as read at start.
    bool hibernate = false;
};

// What LoadWidgetSettings reads: WidgetSettings and what the form, its labels and the weather record hold.
struct LoadedWidgetSettings {
    int32_t left = 300;
    int32_t top = 300;
    // Where the information window stands; kept until that window reports its own position.
    int32_t infoTextLeft = 331;
    int32_t infoTextTop = 331;
    std::string cityName;
    std::string cityId;
    std::string tempFontName;
    std::string cityFontName;
    WidgetSettings settings;
};

// Reads in the order the form applies the values. Reads never fail: anything missing takes its default.
LoadedWidgetSettings ReadWidgetSettings(const SettingsFile& file);

// The state SaveWidgetSettings writes back.
struct SavedWidgetState {
    uint8_t viewStyle = 2;
    int32_t left = 300;
    int32_t top = 300;
    std::string cityName;
    std::string cityId;
    int32_t infoTextLeft = 331;
    int32_t infoTextTop = 331;
    bool showInfoText = true;
    bool hibernate = false;
};

// Writes in the fixed order and flushes. General/FirstUsage is written (as false) only while it is true,
// and `settings.firstUsage` follows. A refused write throws SettingsWriteError and the rest is not written.
void SaveWidgetSettings(SettingsFile& file, const SavedWidgetState& state, WidgetSettings& settings);

}  // namespace nimbo
