// The feed's sunrise and sunset read as one day of daylight: the day-or-night rule of the face and the sun
// line of the information text both go by it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "widget/weather_data.h"

namespace nimbo {

enum class DayNight : uint8_t { Unknown = 0, Night = 1, Day = 2 };

// Times of day as fractions of a day. A sunset earlier than the sunrise is the next day's (the sun sets after
// midnight); a sunset equal to the sunrise means no daylight (polar night, "12:00 am" to "12:00 am"); a sunrise
// at 0 and a sunset at 1 ("12:00 am" to "24:00") mean daylight all day (polar day).
struct Daylight {
    double sunrise = 0;
    double sunset = 0;

    bool PolarNight() const { return sunset == sunrise; }
    bool PolarDay() const { return sunrise == 0 && sunset >= 1; }
    bool SetsAfterMidnight() const { return sunset < sunrise; }
    DayNight At(double timeOfDay) const;
};

// Nothing unless both texts read as times of day ("5:50 am", "17:45", "24:00" for the end of the day).
std::optional<Daylight> ReadDaylight(std::string_view sunrise, std::string_view sunset);

// Day or night at the observation time of the condition `date`: unknown without both sun times.
DayNight DayOrNight(const WeatherData& weather);

}  // namespace nimbo
