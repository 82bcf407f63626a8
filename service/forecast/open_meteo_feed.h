// Open-Meteo's forecast answer (JSON) turned into the widget's weather feed (RSS with yweather elements).
// Portable: the standard library and nlohmann-json only, so the widget can link it for a direct mode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace nimbo::service {

struct FeedPlace {
    std::string Id;  // the code the client asked for: a GeoNames id or an old location code
    std::string City;
    std::string Region;
    std::string Country;
    double Latitude = 0;
    double Longitude = 0;
};

enum class FeedUnit { Celsius, Fahrenheit };

inline constexpr int kFeedForecastDays = 10;

// The query that asks the upstream for everything the feed needs, always in metric units (one answer serves
// both units): "latitude=41.01&longitude=28.95&current=...&daily=...&timezone=auto&forecast_days=10".
std::string ForecastQuery(double latitude, double longitude);

struct FeedResult {
    std::string Feed;   // the whole document, or empty on failure
    std::string Error;  // why there is no feed; empty on success
};

// A complete feed or an error, never a partial document. The answer must carry its time zone offset, the
// current time and at least one day; single values that are null or missing leave their attribute empty
// (codes become 3200). Values are read in the units the answer declares (°F, mp/h, ft...); one in a unit this
// program does not know is left empty too. `nowUtc` (seconds since 1970) is the feed's build time.
FeedResult OpenMeteoToFeed(std::string_view json, const FeedPlace& place, FeedUnit unit, int64_t nowUtc);

// The old error document: no yweather elements, `title` as the item's title ("City not found").
std::string ErrorFeed(std::string_view title, std::string_view description);

}  // namespace nimbo::service
