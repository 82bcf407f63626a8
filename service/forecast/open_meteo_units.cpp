// The unit table: every unit Open-Meteo can answer in for the values the feed carries.
#include "service/forecast/open_meteo_units.h"

namespace nimbo::service {
namespace {

struct UnitRow {
    Quantity quantity;
    std::string_view unit;
    double factor;  // metric = value * factor + offset
    double offset;
};

constexpr UnitRow kUnits[] = {
    {Quantity::Temperature, "°C", 1, 0},
    {Quantity::Temperature, "°F", 5.0 / 9.0, -32 * 5.0 / 9.0},
    {Quantity::Temperature, "K", 1, -273.15},
    {Quantity::Temperature, "°K", 1, -273.15},
    {Quantity::Speed, "km/h", 1, 0},
    {Quantity::Speed, "m/s", 3.6, 0},
    {Quantity::Speed, "mph", 1.609344, 0},
    {Quantity::Speed, "mp/h", 1.609344, 0},  // Open-Meteo's own spelling
    {Quantity::Speed, "kn", 1.852, 0},
    {Quantity::Distance, "m", 1, 0},
    {Quantity::Distance, "km", 1000, 0},
    {Quantity::Distance, "ft", 0.3048, 0},
    {Quantity::Distance, "mi", 1609.344, 0},
    {Quantity::Pressure, "hPa", 1, 0},
    {Quantity::Pressure, "Pa", 0.01, 0},
    {Quantity::Pressure, "kPa", 10, 0},
    {Quantity::Percent, "%", 1, 0},
    {Quantity::Direction, "°", 1, 0},
    {Quantity::WeatherCode, "wmo code", 1, 0},
};

}  // namespace

std::string_view MetricUnit(Quantity quantity) {
    for (const UnitRow& row : kUnits) {
        if (row.quantity == quantity) return row.unit;
    }
    return {};
}

std::optional<double> ToMetric(Quantity quantity, std::string_view unit, double value) {
    for (const UnitRow& row : kUnits) {
        if (row.quantity == quantity && row.unit == unit) return value * row.factor + row.offset;
    }
    return std::nullopt;
}

}  // namespace nimbo::service
