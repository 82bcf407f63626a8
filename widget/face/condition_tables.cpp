// The condition, moon and day-name tables.
#include "widget/face/condition_tables.h"

namespace nimbo {

const std::array<TWeatherIcons, 50> WeatherIcons = {{
    {"Thunderstorms", 0, "Gök gürültülü"},  // 0
    {"Thunderstorms", 0, "Gök gürültülü"},  // 1
    {"Thunderstorms", 0, "Gök gürültülü"},  // 2
    {"Thunderstorms", 0, "Gök gürültülü"},  // 3
    {"Thunderstorms", 0, "Gök gürültülü"},  // 4
    {"Hail", 0, "Dolu"},                    // 5
    {"Hail", 0, "Dolu"},                    // 6
    {"Hail", 0, "Dolu"},                    // 7
    {"Showers", 0, "Yağışlı"},              // 8
    {"Showers", 0, "Yağışlı"},              // 9
    {"Rain", 0, "Yağmurlu"},                // 10
    {"Showers", 0, "Yağışlı"},              // 11
    {"Rain", 0, "Yağmurlu"},                // 12
    {"Flurries", 0, "Sert Rüzgarlı"},       // 13
    {"Snow", 0, "Kar yağışlı"},             // 14
    {"Ice", 0, "Don"},                      // 15
    {"Snow", 0, "Kar yağışlı"},             // 16
    {"Thunderstorms", 0, "Gök gürültülü"},  // 17
    {"Hail", 0, "Don"},                     // 18
    {"Haze", 1, "Hafif Sisli"},             // 19
    {"Fog", 0, "Sisli"},                    // 20
    {"Haze", 1, "Hafif Sisli"},             // 21
    {"Haze", 1, "Hafif Sisli"},             // 22
    {"Wind", 0, "Rüzgarlı"},                // 23
    {"Wind", 0, "Rüzgarlı"},                // 24
    {"Ice", 0, "Don"},                      // 25
    {"Many Clouds", 0, "Çok Bulutlu"},      // 26
    {"Many Clouds", 1, "Çok Bulutlu"},      // 27
    {"Many Clouds", 1, "Çok Bulutlu"},      // 28
    {"Clouds", 1, "Parçalı Bulutlu"},       // 29
    {"Clouds", 1, "Parçalı Bulutlu"},       // 30
    {"None", 1, "Açık"},                    // 31
    {"None", 1, "Açık"},                    // 32
    {"Few Clouds", 1, "Az Bulutlu"},        // 33
    {"Few Clouds", 1, "Az Bulutlu"},        // 34
    {"Thunderstorms", 0, "Gök gürültülü"},  // 35
    {"None", 1, "Çok Sıcak"},               // 36
    {"Thunderstorms", 1, "Gök gürültülü"},  // 37
    {"Thunderstorms", 1, "Gök gürültülü"},  // 38
    {"Showers", 1, "Yağışlı"},              // 39
    {"Rain", 0, "Yağmurlu"},                // 40
    {"Snow", 0, "Kar yağışlı"},             // 41
    {"Snow", 0, "Kar yağışlı"},             // 42
    {"Snow", 0, "Kar yağışlı"},             // 43
    {"Few Clouds", 1, "Parçalı Bulutlu"},   // 44
    {"Showers", 1, "Yağmurlu"},             // 45
    {"Snow", 0, "Kar yağışlı"},             // 46
    {"Thunderstorms", 1, "Gök gürültülü"},  // 47
    {"Rain", 1, "Yağmurlu"},                // 48
    {"None", 1, "Bilinmiyor"},              // 49
}};

// The set has no small "Haze": rows 19, 21 and 22 use "Sun Haze". Row 49 ("Blinmiyor") names no picture on
// purpose: an unknown code shows no small picture.
const std::array<const char*, 50> ForecastIconNames = {
    "Thunderstorms",        // 0
    "Thunderstorms",        // 1
    "Thunderstorms",        // 2
    "Thunderstorms",        // 3
    "Thunderstorms",        // 4
    "Hail",                 // 5
    "Hail",                 // 6
    "Hail",                 // 7
    "Showers",              // 8
    "Showers",              // 9
    "Rain",                 // 10
    "Showers",              // 11
    "Rain",                 // 12
    "Flurries",             // 13
    "Snow",                 // 14
    "Ice",                  // 15
    "Snow",                 // 16
    "Thunderstorms",        // 17
    "Hail",                 // 18
    "Sun Haze",             // 19
    "Fog",                  // 20
    "Sun Haze",             // 21
    "Sun Haze",             // 22
    "Wind",                 // 23
    "Wind",                 // 24
    "Ice",                  // 25
    "Clouds",               // 26
    "Moon And Clouds",      // 27
    "Sun And Clouds",       // 28
    "Moon And Clouds",      // 29
    "Sun And Clouds",       // 30
    "Moon",                 // 31
    "Sun",                  // 32
    "Moon Few Clouds",      // 33
    "Sun Few Clouds",       // 34
    "Thunderstorms",        // 35
    "Sun",                  // 36
    "Sunny Thunderstorms",  // 37
    "Sunny Thunderstorms",  // 38
    "Sun And Rain",         // 39
    "Rain",                 // 40
    "Snow",                 // 41
    "Snow",                 // 42
    "Snow",                 // 43
    "Sun Few Clouds",       // 44
    "Moon And Rain",        // 45
    "Snow",                 // 46
    "Thunderstorms",        // 47
    "Sun And Rain",         // 48
    "Blinmiyor",            // 49
};

const std::array<const char*, 28> MoonPhaseNames = {
    "Yeni Ay",    "Yeni Ay",    "İlk Hilâl",     "İlk Hilâl",     "İlk Hilâl",     "İlk Hilâl",     "İlk Dördün",
    "İlk Dördün", "İlk Dördün", "İkinci Dördün", "İkinci Dördün", "İkinci Dördün", "İkinci Dördün", "İkinci Dördün",
    "Dolunay",    "Dolunay",    "Üçüncü Dördün", "Üçüncü Dördün", "Üçüncü Dördün", "Üçüncü Dördün", "Son Dördün",
    "Son Dördün", "Son Dördün", "Son Hilâl",     "Son Hilâl",     "Son Hilâl",     "Son Hilâl",     "Yeni Ay",
};

const std::array<const char*, 28> MoonPhaseNamesEn = {
    "New Moon",        "New Moon",        "Waxing Crescent", "Waxing Crescent", "Waxing Crescent", "Waxing Crescent",
    "First Quarter",   "First Quarter",   "First Quarter",   "Waxing Gibbous",  "Waxing Gibbous",  "Waxing Gibbous",
    "Waxing Gibbous",  "Waxing Gibbous",  "Full Moon",       "Full Moon",       "Waning Gibbous",  "Waning Gibbous",
    "Waning Gibbous",  "Waning Gibbous",  "Last Quarter",    "Last Quarter",    "Last Quarter",    "Waning Crescent",
    "Waning Crescent", "Waning Crescent", "Waning Crescent", "New Moon",
};

const std::array<const char*, 7> DayAbbrevEn = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const std::array<const char*, 7> DayAbbrevTr = {"PAZ", "PZT", "SAL", "ÇRŞ", "PRŞ", "CUM", "CMT"};

const TWeatherIcons& WeatherIconRow(int n) {
    return WeatherIcons[(n >= 0 && n < static_cast<int>(WeatherIcons.size())) ? n : kUnknownConditionRow];
}

const char* MoonPhaseName(int index) {
    if (index >= 0 && index < static_cast<int>(MoonPhaseNames.size())) return MoonPhaseNames[index];
    return MoonPhaseNames[0];
}

std::string TranslateDayName(std::string_view englishAbbreviation) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (size_t row = 0; row < DayAbbrevEn.size(); ++row) {
        const std::string_view candidate = DayAbbrevEn[row];
        if (candidate.size() != englishAbbreviation.size()) continue;
        bool same = true;
        for (size_t i = 0; i < candidate.size() && same; ++i)
            same = lower(candidate[i]) == lower(englishAbbreviation[i]);
        if (same) return DayAbbrevTr[row];
    }
    return std::string(englishAbbreviation);
}

}  // namespace nimbo
