// What the tray icon shows: the current temperature as digits, or the application's icon.
#pragma once

#include <string>

#include "widget/connection_state.h"
#include "widget/weather_data.h"

namespace nimbo {

// The tray icon's picture. No digits: the application's icon.
struct TrayIconFace {
    std::string digits;   // "-12", "6", "104"
    bool dimmed = false;  // the temperature is stale

    bool operator==(const TrayIconFace& o) const { return digits == o.digits && dimmed == o.dimmed; }
    bool operator!=(const TrayIconFace& o) const { return !(*this == o); }
};

// At most this many characters fit the tray's small icon legibly.
inline constexpr size_t kTrayDigitsMax = 3;

// The temperature rounded to a whole degree (-0.4 shows "0"), or empty when the feed's text is no number or
// would not fit (below -99, above 999).
std::string TrayTemperatureDigits(const std::string& temperature);

// The digits while the setting is on, the last download succeeded and a temperature is known; else the
// application's icon.
TrayIconFace ChooseTrayIconFace(bool showTemperature, ConnectionState state, const WeatherData& weather, bool stale);

}  // namespace nimbo
