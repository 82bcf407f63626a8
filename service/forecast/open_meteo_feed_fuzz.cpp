// Fuzz target: any upstream answer gives either an error or a complete, well-formed feed that the widget's
// reader takes; never a crash or half a document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <pugixml.hpp>

#include "service/forecast/open_meteo_feed.h"
#include "widget/weather_feed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string answer(reinterpret_cast<const char*>(data), size);
    const nimbo::service::FeedPlace place{"TUXX0014", "İstanbul", "İstanbul", "Türkiye", 41.01384, 28.94966};
    const nimbo::service::FeedResult result =
        nimbo::service::OpenMeteoToFeed(answer, place, nimbo::service::FeedUnit::Fahrenheit, 1796712600);
    if (result.Error.empty() == result.Feed.empty()) std::abort();
    if (result.Feed.empty()) return 0;
    pugi::xml_document document;
    if (!document.load_string(result.Feed.c_str())) std::abort();
    nimbo::WeatherData record;
    record.FeedText = result.Feed;
    nimbo::ParseWeatherFeed(record);
    if (record.City != place.City) std::abort();
    return 0;
}
