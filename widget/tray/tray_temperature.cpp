// The tray icon's temperature digits and when they show.
#include "widget/tray/tray_temperature.h"

#include <cmath>
#include <optional>

#include "widget/face/feed_numbers.h"

namespace nimbo {

std::string TrayTemperatureDigits(const std::string& temperature) {
    const std::optional<double> value = ReadFeedDecimal(temperature);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 1000) return {};
    const std::string digits = std::to_string(std::llround(*value));
    return digits.size() <= kTrayDigitsMax ? digits : std::string();
}

TrayIconFace ChooseTrayIconFace(bool showTemperature, ConnectionState state, const WeatherData& weather, bool stale) {
    if (!showTemperature || state != ConnectionState::Succeeded) return {};
    TrayIconFace face;
    face.digits = TrayTemperatureDigits(weather.Temperature);
    face.dimmed = stale && !face.digits.empty();
    return face;
}

}  // namespace nimbo
