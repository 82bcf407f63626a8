// A parsed feed as "Field=value" pairs, to compare with the expectation files beside recorded feeds.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "widget/weather_feed.h"

namespace nimbo::testing {

using FieldMap = std::map<std::string, std::string>;

// The fields the feed filled, by name ("Forecast0.High"...); empty ones are left out.
FieldMap FeedFields(const WeatherData& data);

// "Field=value" lines written by an independent reader of the same feed; comments, blank lines and
// fields without a value are skipped, as FeedFields leaves empty ones out.
FieldMap ExpectedFields(const std::filesystem::path& path);

}  // namespace nimbo::testing
