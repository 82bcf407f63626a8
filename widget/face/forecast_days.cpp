// Forecast days against today's date.
#include "widget/face/forecast_days.h"

#include <optional>
#include <string_view>

#include "widget/face/condition_tables.h"
#include "widget/feed_time.h"

namespace nimbo {
namespace {

// "8 Dec 2026" (and "08 Aug 2018"), the forecast's date, as a day number; nothing for anything else, a date
// without its year included.
std::optional<int64_t> ForecastDayNumber(std::string_view text) {
    SystemTime date;
    // The forecast date has no weekday in front, so it is read with one put there.
    if (!ParseFeedTime("Sun " + std::string(text), date)) return std::nullopt;
    if (date.year < 1970 || !IsValidDate(date.year, date.month, date.day)) return std::nullopt;
    return DayNumber(date.year, date.month, date.day);
}

// "BU GECE" when the day is mostly over: the hour of the observation, or of now when the observation is
// from an earlier day (an old feed says nothing about this evening).
std::string TodayTitle(const WeatherData& weather, const SystemTime& now) {
    SystemTime observed;
    if (!ParseFeedTime(weather.ConditionDate, observed)) return "BUGÜN";
    const bool fromEarlierDay =
        IsValidDate(observed.year, observed.month, observed.day) &&
        DayNumber(observed.year, observed.month, observed.day) < DayNumber(now.year, now.month, now.day);
    const int hour = fromEarlierDay ? now.hour : observed.hour;
    return hour < 2 || hour > 15 ? "BU GECE" : "BUGÜN";
}

std::string Title(const ForecastDay& day, std::optional<int64_t> daysAhead, size_t cell, const WeatherData& weather,
                  const SystemTime& now) {
    if (day.Day.empty()) return {};
    const int64_t ahead = daysAhead ? *daysAhead : static_cast<int64_t>(cell);
    if (ahead == 0) return TodayTitle(weather, now);
    if (ahead == 1) return "YARIN";
    return TranslateDayName(day.Day);
}

}  // namespace

std::array<ForecastCell, kForecastDays> ForecastCells(const WeatherData& weather, const SystemTime& today) {
    std::array<ForecastCell, kForecastDays> cells;
    const int64_t todayNumber = DayNumber(today.year, today.month, today.day);
    size_t cell = 0;
    for (const ForecastDay& day : weather.Forecast) {
        if (cell == cells.size()) break;
        const std::optional<int64_t> date = ForecastDayNumber(day.Date);
        if (date && *date < todayNumber) continue;
        const std::optional<int64_t> ahead = date ? std::optional<int64_t>(*date - todayNumber) : std::nullopt;
        cells[cell] = {&day, Title(day, ahead, cell, weather, today)};
        ++cell;
    }
    return cells;
}

}  // namespace nimbo
