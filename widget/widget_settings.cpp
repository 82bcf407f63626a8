// Loading and saving WidgetSettings in the orders the form relies on.
#include "widget/widget_settings.h"

#include "widget/settings_keys.h"

namespace nimbo {

uint32_t UpdatePeriodMs(int32_t index) {
    switch (index) {
        case 1:
            return 600000;
        case 2:
            return 900000;
        case 3:
            return 1800000;
        case 4:
            return 3600000;
        case 5:
            return 7200000;
        default:
            return 300000;
    }
}

LoadedWidgetSettings ReadWidgetSettings(const SettingsFile& file) {
    using namespace settings;
    LoadedWidgetSettings loaded;
    WidgetSettings& s = loaded.settings;
    loaded.left = Read(file, kLeft);
    loaded.top = Read(file, kTop);
    loaded.cityName = Read(file, kCityName);
    loaded.cityId = Read(file, kCityID);
    s.background = static_cast<uint8_t>(Read(file, kBackground));
    s.autoUpdate = Read(file, kAutoUpdate);
    s.fadeEffect = Read(file, kFadeEffect);
    s.updatePeriodMs = UpdatePeriodMs(Read(file, kUpdatePeriod));
    s.showTrayIcon = Read(file, kShowTrayIcon);
    s.trayTemperature = Read(file, kTrayTemperature);
    s.glassEffect = Read(file, kGlassEffect);
    s.glassOpacity = static_cast<uint8_t>(Read(file, kGlassOpacity));
    s.backColor = static_cast<uint32_t>(Read(file, kBackColor));
    s.showIP = Read(file, kShowIP);
    s.showSunInfo = Read(file, kShowSunInfo);
    s.showSituation = Read(file, kShowSituation);
    s.showDate = Read(file, kShowDate);
    s.showHijri = Read(file, kShowHijri);
    s.showWind = Read(file, kShowWind);
    s.showVisibility = Read(file, kShowVisibility);
    s.showHumidity = Read(file, kShowHumidity);
    s.showChill = Read(file, kShowChill);
    s.showWeatherText = Read(file, kShowWeatherText);
    s.showInfoText = Read(file, kShowInfoText);
    s.firstUsage = Read(file, kFirstUsage);
    loaded.tempFontName = Read(file, kTempFontName);
    loaded.cityFontName = Read(file, kCityFontName);
    s.alwaysTop = Read(file, kAlwaysTop);
    s.viewStyle = static_cast<uint8_t>(Read(file, kViewStyle));
    s.hibernate = Read(file, kHibernate);
    loaded.infoTextLeft = Read(file, kInfoTextLeft);
    loaded.infoTextTop = Read(file, kInfoTextTop);
    return loaded;
}

void SaveWidgetSettings(SettingsFile& file, const SavedWidgetState& state, WidgetSettings& settings) {
    using namespace nimbo::settings;
    Write(file, kViewStyle, state.viewStyle);
    Write(file, kLeft, state.left);
    Write(file, kTop, state.top);
    if (!state.cityName.empty()) Write(file, kCityName, state.cityName);
    Write(file, kCityID, state.cityId);
    Write(file, kInfoTextLeft, state.infoTextLeft);
    Write(file, kInfoTextTop, state.infoTextTop);
    Write(file, kShowInfoText, state.showInfoText);
    Write(file, kHibernate, state.hibernate);
    if (settings.firstUsage) {
        Write(file, kFirstUsage, false);
        settings.firstUsage = false;
    }
    file.UpdateFile();
}

}  // namespace nimbo
