// Every key of Options.ini with its type and defaults; the widget and the options dialog differ in a few.
#pragma once

#include <cstdint>
#include <string>

#include "widget/settings_file.h"

namespace nimbo {

enum class SettingsReader { Widget, Dialog };

struct BoolSetting {
    const char* section;
    const char* key;
    bool widgetDefault;
    bool dialogDefault;
};

struct IntSetting {
    const char* section;
    const char* key;
    int32_t widgetDefault;
    int32_t dialogDefault;
};

struct TextSetting {
    const char* section;
    const char* key;
    const char* defaultValue;
};

namespace settings {

inline constexpr BoolSetting kAutoUpdate{"General", "AutoUpdate", true, true};
inline constexpr IntSetting kUpdatePeriod{"General", "UpdatePeriod", 2, 0};
inline constexpr BoolSetting kShowTrayIcon{"General", "ShowTrayIcon", true, true};
inline constexpr BoolSetting kTrayTemperature{"General", "TrayTemperature", true, true};
inline constexpr BoolSetting kAlwaysTop{"General", "AlwaysTop", false, false};
inline constexpr BoolSetting kCheckNewVersion{"General", "CheckNewVersion", true, true};
inline constexpr BoolSetting kFadeEffect{"General", "FadeEffect", true, true};
inline constexpr BoolSetting kFirstUsage{"General", "FirstUsage", true, true};
inline constexpr BoolSetting kHibernateAlert{"General", "HibernateAlert", true, true};
inline constexpr BoolSetting kStartup{"General", "Startup", true, true};
inline constexpr BoolSetting kDesktop{"General", "Desktop", true, true};
inline constexpr BoolSetting kQuickLunch{"General", "QuickLunch", true, true};

inline constexpr IntSetting kLeft{"Appearance", "Left", 300, 300};
inline constexpr IntSetting kTop{"Appearance", "Top", 300, 300};
inline constexpr IntSetting kViewStyle{"Appearance", "ViewStyle", 2, 2};
inline constexpr IntSetting kBackground{"Appearance", "Background", 2, 2};
inline constexpr IntSetting kBackColor{"Appearance", "BackColor", 8421504, 8421504};
inline constexpr BoolSetting kGlassEffect{"Appearance", "GlassEffect", false, false};
inline constexpr IntSetting kGlassOpacity{"Appearance", "GlassOpacity", 150, 240};
inline constexpr BoolSetting kShowIP{"Appearance", "ShowIP", true, true};
inline constexpr BoolSetting kShowSunInfo{"Appearance", "ShowSunInfo", false, false};
inline constexpr BoolSetting kShowSituation{"Appearance", "ShowSituation", false, false};
inline constexpr BoolSetting kShowDate{"Appearance", "ShowDate", false, false};
inline constexpr BoolSetting kShowHijri{"Appearance", "ShowHijri", false, false};
inline constexpr BoolSetting kShowWind{"Appearance", "ShowWind", false, false};
inline constexpr BoolSetting kShowVisibility{"Appearance", "ShowVisibility", false, false};
inline constexpr BoolSetting kShowHumidity{"Appearance", "ShowHumidity", false, false};
inline constexpr BoolSetting kShowChill{"Appearance", "ShowChill", false, false};
inline constexpr BoolSetting kShowWeatherText{"Appearance", "ShowWeatherText", true, true};
inline constexpr BoolSetting kShowInfoText{"Appearance", "ShowInfoText", true, true};
inline constexpr TextSetting kTempFontName{"Appearance", "TempFontName", "Arial"};
inline constexpr TextSetting kCityFontName{"Appearance", "CityFontName", "Arial"};
inline constexpr BoolSetting kHibernate{"Appearance", "Hibernate", false, false};
inline constexpr IntSetting kInfoTextLeft{"Appearance", "InfoTextLeft", 331, 331};
inline constexpr IntSetting kInfoTextTop{"Appearance", "InfoTextTop", 331, 331};
inline constexpr IntSetting kLastTabSheet{"Appearance", "LastTabSheet", 0, 0};

inline constexpr TextSetting kCityName{"Location", "CityName", "Istanbul"};
inline constexpr TextSetting kCityID{"Location", "CityID", "TUXX0014"};

inline constexpr const char* kFavoritesSection = "Favorites";
inline constexpr const char* kCitiesSection = "CitiesTU";

}  // namespace settings

inline bool Read(const SettingsFile& file, const BoolSetting& s, SettingsReader who = SettingsReader::Widget) {
    return file.ReadBool(s.section, s.key, who == SettingsReader::Widget ? s.widgetDefault : s.dialogDefault);
}
inline int32_t Read(const SettingsFile& file, const IntSetting& s, SettingsReader who = SettingsReader::Widget) {
    return file.ReadInteger(s.section, s.key, who == SettingsReader::Widget ? s.widgetDefault : s.dialogDefault);
}
inline std::string Read(const SettingsFile& file, const TextSetting& s) {
    return file.ReadString(s.section, s.key, s.defaultValue);
}
inline void Write(SettingsFile& file, const BoolSetting& s, bool value) { file.WriteBool(s.section, s.key, value); }
inline void Write(SettingsFile& file, const IntSetting& s, int32_t value) {
    file.WriteInteger(s.section, s.key, value);
}
inline void Write(SettingsFile& file, const TextSetting& s, const std::string& value) {
    file.WriteString(s.section, s.key, value);
}

}  // namespace nimbo
