// The units an Open-Meteo answer declares (`current_units`, `daily_units`), and its values brought back to the
// units the feed is made from: °C, km/h, metres, hPa.
#pragma once

#include <optional>
#include <string_view>

namespace nimbo::service {

enum class Quantity { Temperature, Speed, Distance, Pressure, Percent, Direction, WeatherCode };

// The unit Open-Meteo uses for a quantity unless asked otherwise ("°C", "km/h", "m", "hPa", "%", "°",
// "wmo code"); an answer that declares no unit for a value is read in it.
std::string_view MetricUnit(Quantity quantity);

// `value` given in `unit` (as Open-Meteo writes it: "°F", "mp/h", "ft", ...) in the metric unit above; nothing
// for a unit this program does not know, so an odd value is left out rather than shown wrong.
std::optional<double> ToMetric(Quantity quantity, std::string_view unit, double value);

}  // namespace nimbo::service
