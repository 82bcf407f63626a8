// Every text the widget shows about the weather, made from the feed's raw texts in WeatherData (UTF-8).
#pragma once

#include <string>
#include <string_view>

#include "widget/connection_state.h"
#include "widget/weather_data.h"
#include "widget/widget_settings.h"

namespace nimbo {

// The place name (WeatherData::City) or, while not connected, what the connection is doing.
std::string PlaceText(ConnectionState state, const WeatherData& weather);

// "25°", or empty without a temperature.
std::string TemperatureText(std::string_view temperature);

// The condition in Turkish for a feed code; 3200, unreadable and unknown codes are "Bilinmiyor".
std::string TurkishConditionText(std::string_view code);

// "Kuzey", "Kuzey Doğu"... for degrees; empty when the text is no whole number or is negative.
std::string WindDirectionWord(std::string_view direction);

// "Rüzgar: Kuzey, 10 km/s", "Rüzgar: Yok" for a speed of exactly "0", empty unless both values are there.
std::string WindLine(std::string_view direction, std::string_view speed);

// "16,09 km", "Sınırsız" from 320 km on, empty for no number or a negative one.
std::string VisibilityText(std::string_view visibility);

// "GD: 05:50, GB: 18:30" in the Turkish short time format, "GD: 02:55, GB: 00:04 (ertesi gün)" for a sunset
// after midnight, "Güneş bugün batmıyor" and "Güneş bugün doğmuyor" for polar day and night; empty unless both
// times read as times of day.
std::string SunLine(std::string_view sunrise, std::string_view sunset);

// "E: 41.01°, B: 28.97°" with the feed's texts unchanged; empty unless both are there.
std::string PositionLine(std::string_view latitude, std::string_view longitude);

// The public address, "Araştırılıyor..." until it is known, or the place text while not connected.
std::string IpText(ConnectionState state, const WeatherData& weather);

// The chosen lines, each closed by CR LF except the last. The date lines are the ones stored in `weather`.
std::string InformationText(ConnectionState state, const WeatherData& weather, const WidgetSettings& settings);

// "Nimbo! - İstanbul, Açık, 25°", "Nimbo!" with nothing known, "Nimbo! - Bağlantı yok" when not connected.
std::string TrayHint(ConnectionState state, const WeatherData& weather);

}  // namespace nimbo
