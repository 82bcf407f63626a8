// Reading the weather feed into WeatherData, element by element in the feed's order.
#include "widget/weather_feed.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace nimbo {
namespace {

using Field = std::string WeatherData::*;

void ReadAttributes(const XmlNode& node, std::initializer_list<std::pair<const char*, std::string*>> fields) {
    for (const auto& [name, field] : fields) {
        if (auto value = node.Attribute(name)) *field = std::move(*value);
    }
}

// The feed's own documents start at `rss`; the later query service wraps the same channel in
// `query/results`, and a user who points the widget at it still expects the weather.
std::string ChannelPath(const XmlDocument& document) {
    if (!document.SelectSingleNode("/rss/channel") && document.SelectSingleNode("/query/results/channel")) {
        return "/query/results/channel";
    }
    return "/rss/channel";
}

}  // namespace

std::string FeedAddress(const WeatherData& data) { return "/forecastrss/" + data.CityID + "_" + data.Unit + ".xml"; }

void ClearWeatherData(WeatherData& data) {
    for (const Field field :
         {&WeatherData::LastBuildDate, &WeatherData::City, &WeatherData::Region, &WeatherData::Country,
          &WeatherData::Sunrise, &WeatherData::Sunset, &WeatherData::Latitude, &WeatherData::Longitude,
          &WeatherData::WindChill, &WeatherData::WindDirection, &WeatherData::WindSpeed, &WeatherData::Humidity,
          &WeatherData::Visibility, &WeatherData::PubDate, &WeatherData::ConditionText, &WeatherData::ConditionCode,
          &WeatherData::Temperature, &WeatherData::ConditionDate}) {
        (data.*field).clear();
    }
    std::fill(data.Forecast.begin(), data.Forecast.end(), ForecastDay{});
}

bool CarriesWeather(const WeatherData& data) {
    return !data.ConditionCode.empty() || !data.Temperature.empty() || !data.ConditionText.empty();
}

void ParseWeatherFeed(WeatherData& data, XmlDocument& document) {
    if (data.FeedText.empty() || !document.LoadXml(data.FeedText)) return;
    const std::string channel = ChannelPath(document);
    const std::string item = channel + "/item";

    if (const XmlNodePtr node = document.SelectSingleNode(channel + "/lastBuildDate"))
        data.LastBuildDate = node->Text();
    if (const XmlNodePtr node = document.SelectSingleNode(channel + "/yweather:location")) {
        ReadAttributes(*node, {{"city", &data.City}, {"region", &data.Region}, {"country", &data.Country}});
    }
    if (const XmlNodePtr node = document.SelectSingleNode(channel + "/yweather:wind")) {
        ReadAttributes(*node,
                       {{"chill", &data.WindChill}, {"direction", &data.WindDirection}, {"speed", &data.WindSpeed}});
    }
    if (const XmlNodePtr node = document.SelectSingleNode(channel + "/yweather:atmosphere")) {
        ReadAttributes(*node, {{"humidity", &data.Humidity}, {"visibility", &data.Visibility}});
    }
    if (const XmlNodePtr node = document.SelectSingleNode(channel + "/yweather:astronomy")) {
        ReadAttributes(*node, {{"sunrise", &data.Sunrise}, {"sunset", &data.Sunset}});
    }
    if (const XmlNodePtr node = document.SelectSingleNode(item + "/geo:lat")) data.Latitude = node->Text();
    if (const XmlNodePtr node = document.SelectSingleNode(item + "/geo:long")) data.Longitude = node->Text();
    if (const XmlNodePtr node = document.SelectSingleNode(item + "/pubDate")) data.PubDate = node->Text();
    if (const XmlNodePtr node = document.SelectSingleNode(item + "/yweather:condition")) {
        ReadAttributes(*node, {{"text", &data.ConditionText},
                               {"code", &data.ConditionCode},
                               {"temp", &data.Temperature},
                               {"date", &data.ConditionDate}});
    }

    const std::vector<XmlNodePtr> forecast = document.SelectNodes(item + "/yweather:forecast");
    for (size_t i = 0; i < forecast.size() && i < data.Forecast.size(); ++i) {
        ForecastDay& day = data.Forecast[i];
        ReadAttributes(*forecast[i], {{"low", &day.Low},
                                      {"day", &day.Day},
                                      {"high", &day.High},
                                      {"text", &day.Text},
                                      {"code", &day.Code},
                                      {"date", &day.Date}});
    }
}

void ParseWeatherFeed(WeatherData& data) {
    if (data.FeedText.empty()) return;
    ParseWeatherFeed(data, *CreateXmlDocument());
}

}  // namespace nimbo
