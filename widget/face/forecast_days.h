// Which of the record's forecast days the five cells show, and the title over each: days follow their dates,
// so a feed from yesterday neither shows yesterday nor calls it "BUGÜN".
#pragma once

#include <array>
#include <string>

#include "widget/system_time.h"
#include "widget/weather_data.h"

namespace nimbo {

struct ForecastCell {
    const ForecastDay* day = nullptr;  // none: the cell stays empty
    std::string title;                 // empty when the day has no day name
};

// The record's days from `today` (the machine's local date) on, in order, at most five. A day dated today is
// "BUGÜN" ("BU GECE" before 02:00 and after 15:59), tomorrow "YARIN", later ones their Turkish day name. A day
// whose date cannot be read is kept and titled by its cell, as the feed's order says.
std::array<ForecastCell, kForecastDays> ForecastCells(const WeatherData& weather, const SystemTime& today);

}  // namespace nimbo
