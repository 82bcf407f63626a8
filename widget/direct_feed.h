// Direct mode's conversion: Open-Meteo's forecast answer into the feed text, by the data service's own code.
#pragma once

#include <cstdint>
#include <functional>

#include "widget/weather_source.h"

namespace nimbo {

// Seconds since 1970 (UTC): the feed's build time.
using UtcClock = std::function<int64_t()>;
int64_t SystemUtcSeconds();

FeedConversion DirectFeedConversion(UtcClock now = SystemUtcSeconds);

}  // namespace nimbo
