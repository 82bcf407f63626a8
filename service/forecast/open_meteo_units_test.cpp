// Values back to the feed's metric units from the units an answer declares.
#include "service/forecast/open_meteo_units.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

TEST(OpenMeteoUnits, KnownUnitsConvertAndUnknownOnesGiveNothing) {
    struct Case {
        Quantity quantity;
        const char* unit;
        double value;
        std::optional<double> metric;
    };
    const Case cases[] = {
        {Quantity::Temperature, "°C", -4.5, -4.5},
        {Quantity::Temperature, "°F", 212, 100},
        {Quantity::Temperature, "°F", -40, -40},
        {Quantity::Temperature, "K", 273.15, 0},
        {Quantity::Speed, "km/h", 12, 12},
        {Quantity::Speed, "m/s", 10, 36},
        {Quantity::Speed, "mp/h", 10, 16.09344},
        {Quantity::Speed, "mph", 10, 16.09344},
        {Quantity::Speed, "kn", 10, 18.52},
        {Quantity::Distance, "ft", 1000, 304.8},
        {Quantity::Distance, "m", 24140, 24140},
        {Quantity::Pressure, "Pa", 101325, 1013.25},
        {Quantity::Percent, "%", 82, 82},
        {Quantity::Direction, "°", 215, 215},
        {Quantity::WeatherCode, "wmo code", 61, 61},
        {Quantity::Temperature, "°R", 491.67, std::nullopt},
        {Quantity::Temperature, "°c", 1, std::nullopt},
        {Quantity::Speed, "inch", 1, std::nullopt},
        {Quantity::Speed, "°C", 1, std::nullopt},
        {Quantity::Percent, "", 50, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> metric = ToMetric(c.quantity, c.unit, c.value);
        ASSERT_EQ(metric.has_value(), c.metric.has_value()) << c.unit;
        if (metric) {
            EXPECT_NEAR(*metric, *c.metric, 1e-9) << c.unit;
        }
    }
    for (const Quantity q : {Quantity::Temperature, Quantity::Speed, Quantity::Distance, Quantity::Pressure}) {
        EXPECT_EQ(ToMetric(q, MetricUnit(q), 7.25), 7.25);
    }
}

}  // namespace
}  // namespace nimbo::service
