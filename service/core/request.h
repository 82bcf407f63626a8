// The requests the service answers, read from the raw request target and validated before any use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/forecast/open_meteo_feed.h"

namespace nimbo::service {

inline constexpr size_t kMaxTargetLength = 2048;
inline constexpr size_t kMaxQueryBytes = 100;

enum class Route { Feed, Search, Version, Address, IndexPage, ProjectsPage, Health, Metrics, NotFound, BadRequest };

struct Request {
    Route route = Route::NotFound;
    std::string placeId;  // Feed: a validated id
    FeedUnit unit = FeedUnit::Celsius;
    std::string query;         // Search: UTF-8, blanks trimmed, at most kMaxQueryBytes of the client's text
    bool windows1254 = false;  // Search: the client sent Windows-1254, so it reads its answer in it too
};

// A GeoNames id (1 to 10 digits, no leading zero, below 2^32) or an old code: four letters and four digits
// ("TUXX0014"), letters in upper case.
bool IsValidPlaceId(std::string_view id);

// The value of `where=` as the client meant it: percent-encoded UTF-8 from new clients, raw or
// percent-encoded Windows-1254 bytes from old ones ('+' is a blank). Nothing for malformed escapes, control
// characters or a text longer than kMaxQueryBytes.
// `windows1254` tells which of the two it was.
std::optional<std::string> DecodeSearchQuery(std::string_view raw, bool* windows1254 = nullptr);

// Sorts a request target ("/forecastrss/TUXX0014_c.xml", "/search/search?where=ank") into its route; anything
// malformed is BadRequest, anything unknown NotFound.
Request ParseRequestTarget(std::string_view target);

}  // namespace nimbo::service
