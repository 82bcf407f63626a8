// Reading Open-Meteo's current and daily blocks and writing the feed from them.
#include "service/forecast/open_meteo_feed.h"

#include <cmath>
#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "service/forecast/feed_dates.h"
#include "service/forecast/open_meteo_units.h"
#include "service/forecast/weather_codes.h"
#include "service/forecast/xml_writer.h"

namespace nimbo::service {
namespace {

using nlohmann::json;

constexpr double kLargestValue = 1e7;  // beyond any weather; keeps rounding defined

std::optional<double> Finite(const json& value) {
    if (!value.is_number()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number) || std::fabs(number) > kLargestValue) return std::nullopt;
    return number;
}

std::optional<double> Number(const json& object, const char* key) {
    if (!object.is_object()) return std::nullopt;
    const auto it = object.find(key);
    return it == object.end() ? std::nullopt : Finite(*it);
}

std::optional<double> NumberAt(const json& object, const char* key, size_t index) {
    if (!object.is_object()) return std::nullopt;
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array() || index >= it->size()) return std::nullopt;
    return Finite((*it)[index]);
}

// A value in the feed's metric units, from the unit its block declares (`current_units`, `daily_units`); a
// value whose unit is not declared is in Open-Meteo's default, which is what the query asks for.
std::optional<double> Metric(std::optional<double> value, const json& units, const char* key, Quantity quantity) {
    if (!value) return std::nullopt;
    const auto it = units.is_object() ? units.find(key) : units.end();
    if (it == units.end()) return ToMetric(quantity, MetricUnit(quantity), *value);
    if (!it->is_string()) return std::nullopt;
    return ToMetric(quantity, it->get<std::string_view>(), *value);
}

std::string TextAt(const json& object, const char* key, size_t index) {
    if (!object.is_object()) return {};
    const auto it = object.find(key);
    if (it == object.end() || !it->is_array() || index >= it->size() || !(*it)[index].is_string()) return {};
    return (*it)[index].get<std::string>();
}

std::optional<int> WmoCode(std::optional<double> value) {
    if (!value || *value != std::floor(*value)) return std::nullopt;
    return static_cast<int>(*value);
}

std::string Whole(std::optional<double> value) {
    if (!value) return {};
    return std::to_string(std::llround(*value));
}

// At most `places` decimals, trailing zeros dropped: 16.09, 10, -73.94.
std::string Decimal(std::optional<double> value, int places) {
    if (!value) return {};
    long long scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    long long scaled = std::llround(*value * static_cast<double>(scale));
    const bool negative = scaled < 0;
    if (negative) scaled = -scaled;
    std::string text = std::to_string(scaled / scale);
    std::string fraction = std::to_string(scale + scaled % scale).substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) text += "." + fraction;
    return (negative ? "-" : "") + text;
}

std::optional<double> Convert(std::optional<double> value, double factor, double offset = 0) {
    if (!value) return std::nullopt;
    return *value * factor + offset;
}

struct SunTimes {
    std::string sunrise, sunset;
};

// The astronomy element's times for the first day, as times of day the widget's day rule reads. Open-Meteo
// gives a polar night as sunrise = sunset at the day's midnight and a polar day as midnight to the next
// midnight: the feed says "12:00 am" to "12:00 am" (no daylight) and "12:00 am" to "24:00" (all day). A sunset
// after midnight keeps its time of day ("12:04 am", before the sunrise), which the widget reads as the next
// day's. Times more than a day away from the day (older answers wrote 1970-01-01T00:00 for both polar cases)
// say nothing and are left out.
SunTimes SunTimesOf(const std::optional<LocalTime>& day, const std::string& sunriseIso, const std::string& sunsetIso) {
    const auto rise = ParseIsoLocal(sunriseIso);
    const auto set = ParseIsoLocal(sunsetIso);
    const auto near = [&](const std::optional<LocalTime>& t) {
        if (!t || !day) return false;
        const int64_t minutes = MinutesBetween(*day, *t);
        return minutes >= -24 * 60 && minutes <= 2 * 24 * 60;
    };
    if ((rise && !near(rise)) || (set && !near(set))) return {};
    if (!rise || !set) return {rise ? FeedClock(*rise) : std::string(), set ? FeedClock(*set) : std::string()};
    const int64_t daylight = MinutesBetween(*rise, *set);
    if (daylight <= 0) return {"12:00 am", "12:00 am"};
    if (daylight >= 24 * 60) return {"12:00 am", "24:00"};
    return {FeedClock(*rise), FeedClock(*set)};
}

struct Units {
    double temperatureFactor, temperatureOffset, speedFactor, distanceFactor, pressureFactor;
    int pressureDecimals;
    const char *temperature, *distance, *pressure, *speed;
};

constexpr Units kCelsius{1, 0, 1, 0.001, 1, 1, "C", "km", "mb", "km/h"};
constexpr Units kFahrenheit{1.8, 32, 1 / 1.609344, 1 / 1609.344, 0.0295300, 2, "F", "mi", "in", "mph"};

struct Forecast {
    std::string day, date, low, high, text, code;
};

// The start every feed shares: the RSS root with the namespaces the widget reads, and its channel.
void OpenFeed(XmlWriter& xml) {
    xml.Declaration();
    xml.Open("rss", {{"version", "2.0"},
                     {"xmlns:yweather", "http://xml.weather.yahoo.com/ns/rss/1.0"},
                     {"xmlns:geo", "http://www.w3.org/2003/01/geo/wgs84_pos#"}});
    xml.Open("channel");
}

}  // namespace

std::string ForecastQuery(double latitude, double longitude) {
    return "latitude=" + Decimal(latitude, 4) + "&longitude=" + Decimal(longitude, 4) +
           "&current=temperature_2m,relative_humidity_2m,apparent_temperature,is_day,weather_code,wind_speed_10m,"
           "wind_direction_10m,visibility,pressure_msl"
           "&daily=weather_code,temperature_2m_max,temperature_2m_min,sunrise,sunset"
           "&timezone=auto&forecast_days=" +
           std::to_string(kFeedForecastDays);
}

FeedResult OpenMeteoToFeed(std::string_view text, const FeedPlace& place, FeedUnit unit, int64_t nowUtc) {
    const json answer = json::parse(text, nullptr, false);
    if (answer.is_discarded() || !answer.is_object()) return {{}, "the answer is not a JSON object"};
    if (answer.contains("error") && answer["error"] == true) return {{}, "the upstream reported an error"};
    const auto offset = Number(answer, "utc_offset_seconds");
    if (!offset || std::fabs(*offset) > 18 * 3600) return {{}, "no time zone offset"};
    const int offsetSeconds = static_cast<int>(*offset);
    const json current = answer.contains("current") ? answer["current"] : json();
    const json daily = answer.contains("daily") ? answer["daily"] : json();
    const json currentUnits = answer.contains("current_units") ? answer["current_units"] : json();
    const json dailyUnits = answer.contains("daily_units") ? answer["daily_units"] : json();
    const auto now = [&](const char* key, Quantity quantity) {
        return Metric(Number(current, key), currentUnits, key, quantity);
    };
    const auto onDay = [&](const char* key, size_t i, Quantity quantity) {
        return Metric(NumberAt(daily, key, i), dailyUnits, key, quantity);
    };
    const auto observed = current.is_object() && current.contains("time") && current["time"].is_string()
                              ? ParseIsoLocal(current["time"].get<std::string>())
                              : std::nullopt;
    if (!observed) return {{}, "no current time"};

    const Units& u = unit == FeedUnit::Celsius ? kCelsius : kFahrenheit;
    const auto temperature = [&u](std::optional<double> celsius) {
        return Whole(Convert(celsius, u.temperatureFactor, u.temperatureOffset));
    };
    std::vector<Forecast> days;
    for (size_t i = 0; i < static_cast<size_t>(kFeedForecastDays); ++i) {
        const auto date = ParseIsoLocal(TextAt(daily, "time", i));
        if (!date) break;
        const FeedCondition condition =
            ConditionForWmoCode(WmoCode(onDay("weather_code", i, Quantity::WeatherCode)), false);
        days.push_back({WeekdayName(*date), FeedDay(*date),
                        temperature(onDay("temperature_2m_min", i, Quantity::Temperature)),
                        temperature(onDay("temperature_2m_max", i, Quantity::Temperature)), condition.Text,
                        std::to_string(condition.Code)});
    }
    if (days.empty()) return {{}, "no daily forecast"};

    const std::string abbreviation =
        answer.contains("timezone_abbreviation") && answer["timezone_abbreviation"].is_string()
            ? answer["timezone_abbreviation"].get<std::string>()
            : std::string();
    const std::string zone = ZoneText(abbreviation, offsetSeconds);
    const std::string observedText = FeedDateTime(*observed, zone);
    const bool night = Number(current, "is_day") == 0.0;
    const FeedCondition condition = ConditionForWmoCode(WmoCode(now("weather_code", Quantity::WeatherCode)), night);
    const SunTimes sun =
        SunTimesOf(ParseIsoLocal(TextAt(daily, "time", 0)), TextAt(daily, "sunrise", 0), TextAt(daily, "sunset", 0));
    const std::string placeName = place.Region.empty() || place.Region == place.City
                                      ? place.City + ", " + place.Country
                                      : place.City + ", " + place.Region + ", " + place.Country;

    std::string feed;
    XmlWriter xml(feed);
    OpenFeed(xml);
    xml.TextElement("title", "Nimbo Weather - " + placeName);
    xml.TextElement("link", "https://open-meteo.com/");
    xml.TextElement("description", "Weather data by Open-Meteo.com for " + placeName);
    xml.TextElement("language", "en-us");
    xml.TextElement("lastBuildDate", FeedDateTime(LocalTimeAt(nowUtc, offsetSeconds), zone));
    xml.TextElement("ttl", "10");
    xml.EmptyElement("yweather:location", {{"city", place.City}, {"region", place.Region}, {"country", place.Country}});
    xml.EmptyElement(
        "yweather:units",
        {{"temperature", u.temperature}, {"distance", u.distance}, {"pressure", u.pressure}, {"speed", u.speed}});
    xml.EmptyElement("yweather:wind",
                     {{"chill", temperature(now("apparent_temperature", Quantity::Temperature))},
                      {"direction", Whole(now("wind_direction_10m", Quantity::Direction))},
                      {"speed", Whole(Convert(now("wind_speed_10m", Quantity::Speed), u.speedFactor))}});
    xml.EmptyElement(
        "yweather:atmosphere",
        {{"humidity", Whole(now("relative_humidity_2m", Quantity::Percent))},
         {"visibility", Decimal(Convert(now("visibility", Quantity::Distance), u.distanceFactor), 2)},
         {"pressure", Decimal(Convert(now("pressure_msl", Quantity::Pressure), u.pressureFactor), u.pressureDecimals)},
         {"rising", "0"}});
    xml.EmptyElement("yweather:astronomy", {{"sunrise", sun.sunrise}, {"sunset", sun.sunset}});
    xml.Open("item");
    xml.TextElement("title", "Conditions for " + placeName + " at " + FeedClock(*observed) + " " + zone);
    xml.TextElement("geo:lat", Decimal(place.Latitude, 2));
    xml.TextElement("geo:long", Decimal(place.Longitude, 2));
    xml.TextElement("link", "https://open-meteo.com/");
    xml.TextElement("pubDate", observedText);
    xml.EmptyElement("yweather:condition", {{"text", condition.Text},
                                            {"code", std::to_string(condition.Code)},
                                            {"temp", temperature(now("temperature_2m", Quantity::Temperature))},
                                            {"date", observedText}});
    xml.TextElement("description", "Weather data by Open-Meteo.com (https://open-meteo.com/), CC BY 4.0");
    for (const Forecast& day : days) {
        xml.EmptyElement("yweather:forecast", {{"day", day.day},
                                               {"date", day.date},
                                               {"low", day.low},
                                               {"high", day.high},
                                               {"text", day.text},
                                               {"code", day.code}});
    }
    xml.TextElement("guid",
                    place.Id + "_" + std::to_string(observed->year) + "_" + std::to_string(observed->month) + "_" +
                        std::to_string(observed->day) + "_" + std::to_string(observed->hour) + "_" +
                        std::to_string(observed->minute),
                    {{"isPermaLink", "false"}});
    xml.Close("item");
    xml.Close("channel");
    xml.Close("rss");
    return {feed, {}};
}

std::string ErrorFeed(std::string_view title, std::string_view description) {
    std::string feed;
    XmlWriter xml(feed);
    OpenFeed(xml);
    xml.TextElement("title", "Nimbo Weather - Error");
    xml.TextElement("description", "Nimbo Weather Error");
    xml.Open("item");
    xml.TextElement("title", title);
    xml.TextElement("description", description);
    xml.Close("item");
    xml.Close("channel");
    xml.Close("rss");
    return feed;
}

}  // namespace nimbo::service
