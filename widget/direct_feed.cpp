// The service's Open-Meteo conversion behind the widget's FeedConversion.
#include "widget/direct_feed.h"

#include <ctime>

#include "service/forecast/open_meteo_feed.h"

namespace nimbo {

int64_t SystemUtcSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

FeedConversion DirectFeedConversion(UtcClock now) {
    return [now = std::move(now)](const std::string& json, const GeoPlace& place,
                                  const std::string& unit) -> std::optional<std::string> {
        const service::FeedPlace feedPlace{place.id,      place.name,        place.region,
                                           place.country, place.at.latitude, place.at.longitude};
        const service::FeedUnit feedUnit = unit == "f" ? service::FeedUnit::Fahrenheit : service::FeedUnit::Celsius;
        service::FeedResult result = service::OpenMeteoToFeed(json, feedPlace, feedUnit, now());
        if (result.Feed.empty()) return std::nullopt;
        return std::move(result.Feed);
    };
}

}  // namespace nimbo
