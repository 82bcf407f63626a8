// The weather feed: its address, and how a received document fills WeatherData.
#pragma once

#include <string>

#include "widget/weather_data.h"
#include "widget/xml_document.h"

namespace nimbo {

// "/forecastrss/" + CityID + "_" + Unit + ".xml", the path on the feed server.
std::string FeedAddress(const WeatherData& data);

// Empties every field the feed fills, all five forecast days included; CityID, IPAddress, the date texts,
// Unit and FeedText stay.
void ClearWeatherData(WeatherData& data);

// Whether a parsed record holds a current condition: a well-formed answer without one (an error feed such as
// "City not found", an HTML page) is no weather.
bool CarriesWeather(const WeatherData& data);

// Reads FeedText (UTF-8) into the record through `document`. Text that is no XML, or lacks an element or
// attribute, leaves those fields as they were and the rest is still read. The first five forecast
// elements are kept; later feeds carry ten.
void ParseWeatherFeed(WeatherData& data, XmlDocument& document);

// The same on the platform's DOM, created only when there is text to read. Throws XmlError when the DOM
// cannot be created.
void ParseWeatherFeed(WeatherData& data);

}  // namespace nimbo
