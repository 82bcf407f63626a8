// Reading the weather feed into WeatherData, element by element in the feed's order.
#include "widget/weather_feed.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "base/untrusted_text.h"

namespace nimbo {
namespace {

using Field = std::string WeatherData::*;

// Every value of the feed is one line: the place's name, for one, is stored in Options.ini, where a line break
// that an XML character reference carried in would start keys and sections of its own.
void ReadAttributes(const XmlNode& node, std::initializer_list<std::pair<const char*, std::string*>> fields) {
    for (const auto& [name, field] : fields) {
        if (auto value = node.Attribute(name)) *field = OneLine(*value);
    }
}

void ReadText(const XmlDocument& document, const std::string& path, std::string& field) {
    if (const XmlNodePtr node = document.SelectSingleNode(path)) field = OneLine(node->Text());
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

    ReadText(document, channel + "/lastBuildDate", data.LastBuildDate);
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
    ReadText(document, item + "/geo:lat", data.Latitude);
    ReadText(document, item + "/geo:long", data.Longitude);
    ReadText(document, item + "/pubDate", data.PubDate);
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
