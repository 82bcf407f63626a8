// Reading the sun times and deciding day or night from them.
#include "widget/face/sun_times.h"

#include "widget/feed_time.h"

namespace nimbo {
namespace {

double DayFraction(int hour, int minute, int second) { return (hour * 3600.0 + minute * 60.0 + second) / 86400.0; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<double> SunTime(std::string_view text) {
    // The end of the day, the sunset of a day the sun does not set.
    if (Trimmed(text) == "24:00") return 1.0;
    const std::optional<TimeOfDay> time = ReadTimeOfDay(text);
    if (!time) return std::nullopt;
    return DayFraction(time->hour, time->minute, time->second);
}

}  // namespace

DayNight Daylight::At(double timeOfDay) const {
    const bool day =
        SetsAfterMidnight() ? timeOfDay >= sunrise || timeOfDay < sunset : timeOfDay >= sunrise && timeOfDay < sunset;
    return day ? DayNight::Day : DayNight::Night;
}

std::optional<Daylight> ReadDaylight(std::string_view sunrise, std::string_view sunset) {
    const std::optional<double> rise = SunTime(sunrise);
    const std::optional<double> set = SunTime(sunset);
    if (!rise || !set) return std::nullopt;
    return Daylight{*rise, *set};
}

DayNight DayOrNight(const WeatherData& weather) {
    const std::optional<Daylight> daylight = ReadDaylight(weather.Sunrise, weather.Sunset);
    if (!daylight) return DayNight::Unknown;
    SystemTime observed;
    // An observation without a time counts as before the sunrise.
    if (!ParseFeedTime(weather.ConditionDate, observed)) return DayNight::Night;
    return daylight->At(DayFraction(observed.hour, observed.minute, observed.second));
}

}  // namespace nimbo
