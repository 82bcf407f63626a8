// WeatherData and ForecastDay: the weather record, every value kept as the feed's text (UTF-8).
#pragma once

#include <array>
#include <string>

namespace nimbo {

struct ForecastDay {
    std::string Day;
    std::string Low;
    std::string High;
    std::string Code;
    std::string Date;
    std::string Text;
};

// The face shows five days. The record keeps up to ten of a feed's days (the rest are dropped), so that a feed
// from yesterday still fills five cells from today on.
inline constexpr size_t kForecastDays = 5;
inline constexpr size_t kRecordedForecastDays = 10;

struct WeatherData {
    std::string LastBuildDate;
    std::string City;
    std::string Region;
    std::string Country;
    std::string CityID;
    std::string IPAddress;
    std::string Sunrise;
    std::string Sunset;
    std::string Latitude;
    std::string Longitude;
    std::string WindChill;
    std::string WindDirection;
    std::string WindSpeed;
    std::string Humidity;
    std::string Visibility;
    std::string PubDate;
    std::string ConditionText;
    std::string ConditionCode;
    std::string Temperature;
    std::string ConditionDate;
    std::array<ForecastDay, kRecordedForecastDays> Forecast;
    std::string DateText;
    std::string HijriDateText;
    std::string Unit = "c";
    std::string FeedText;
};

}  // namespace nimbo
