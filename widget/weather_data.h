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

inline constexpr size_t kForecastDays = 5;

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
    std::array<ForecastDay, kForecastDays> Forecast;
    std::string DateText;
    std::string HijriDateText;
    std::string Unit = "c";
    std::string FeedText;
};

}  // namespace nimbo
