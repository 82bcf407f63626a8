// The fixed tables that turn feed condition codes into pictures and Turkish texts, name the moon's age and
// translate the feed's day abbreviations.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace nimbo {

struct TWeatherIcons {
    const char* pictureName;  // stem of the large picture in Contents\Resources\Big
    uint8_t skyFlag;          // 1: the sun or the moon shows behind the condition picture
    const char* text;         // the condition in Turkish (UTF-8)
};

inline constexpr int kUnknownConditionRow = 49;

// Row n belongs to feed condition code n; row 49 is the unknown condition.
extern const std::array<TWeatherIcons, 50> WeatherIcons;
// Stems of the small forecast pictures in Contents\Resources\Tiny, same rows.
extern const std::array<const char*, 50> ForecastIconNames;

// The moon's name for each whole day of its age, 0 to 27.
extern const std::array<const char*, 28> MoonPhaseNames;
extern const std::array<const char*, 28> MoonPhaseNamesEn;

extern const std::array<const char*, 7> DayAbbrevEn;
extern const std::array<const char*, 7> DayAbbrevTr;

// Row n of WeatherIcons, or the unknown row when n has none.
const TWeatherIcons& WeatherIconRow(int n);

// The Turkish name for a moon index 0 to 27; 28, a whole lunation, and anything else is the new moon.
const char* MoonPhaseName(int index);

// "Mon" (any letter case) -> "PZT". A text that is no English abbreviation comes back unchanged, so the face
// still shows what the feed sent rather than an empty title.
std::string TranslateDayName(std::string_view englishAbbreviation);

}  // namespace nimbo
