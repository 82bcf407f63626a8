// Formatting of the shown weather values, the information text and the tray hint.
#include "widget/face/value_format.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "widget/face/condition_tables.h"
#include "widget/face/feed_numbers.h"
#include "widget/face/sun_times.h"

namespace nimbo {
namespace {

constexpr int kNoConditionCode = 3200;  // the feed's code for "not available"
constexpr float kUnlimitedVisibilityKm = 320.0f;

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

// The Turkish short time format, HH:mm, of a fraction of a day ("24:00" for its end).
std::string ShortTime(double dayFraction) {
    const int64_t seconds = std::llround(dayFraction * 86400);
    return TwoDigits(static_cast<int>(seconds / 3600)) + ":" + TwoDigits(static_cast<int>(seconds % 3600 / 60));
}

void AppendLine(std::string& text, bool shown, const std::string& value, std::string_view prefix = {},
                std::string_view suffix = {}) {
    if (!shown || value.empty()) return;
    text.append(prefix);
    text.append(value);
    text.append(suffix);
    text.append("\r\n");
}

}  // namespace

std::string PlaceText(ConnectionState state, const WeatherData& weather) {
    switch (state) {
        case ConnectionState::Outstanding:
            return "Bağlantı kuruluyor...";
        case ConnectionState::Failed:
            return "Bağlantı yok";
        case ConnectionState::ThreadFailed:
            return "Hata: İstisnai durum oluştu.";
        case ConnectionState::Succeeded:
            break;
    }
    return weather.City;
}

std::string TemperatureText(std::string_view temperature) {
    if (temperature.empty()) return {};
    return std::string(temperature) + "°";
}

std::string TurkishConditionText(std::string_view code) {
    if (code.empty()) return {};
    const int32_t row = ReadFeedInteger(code).value_or(kNoConditionCode);
    return WeatherIconRow(row).text;
}

std::string WindDirectionWord(std::string_view direction) {
    const std::optional<int32_t> degrees = ReadFeedInteger(direction);
    if (!degrees || *degrees < 0) return {};
    static constexpr struct {
        int32_t last;
        const char* word;
    } kSectors[] = {
        {23, "Kuzey"},  {68, "Kuzey Doğu"},  {113, "Doğu"}, {158, "Güney Doğu"},
        {203, "Güney"}, {248, "Güney Batı"}, {293, "Batı"}, {338, "Kuzey Batı"},
    };
    for (const auto& sector : kSectors) {
        if (*degrees <= sector.last) return sector.word;
    }
    return "Kuzey";
}

std::string WindLine(std::string_view direction, std::string_view speed) {
    if (direction.empty() || speed.empty()) return {};
    if (speed == "0") return "Rüzgar: Yok";
    return "Rüzgar: " + WindDirectionWord(direction) + ", " + std::string(speed) + " km/s";
}

std::string VisibilityText(std::string_view visibility) {
    const std::optional<double> read = ReadFeedDecimal(visibility);
    if (!read || *read < 0) return {};
    // Held in single precision like the widget always has, so 319.999999 already counts as 320.
    if (*read >= static_cast<double>(std::numeric_limits<float>::max())) return "Sınırsız";
    const float km = static_cast<float>(*read);
    if (km >= kUnlimitedVisibilityKm) return "Sınırsız";
    // The product of a float and 100 is exact in a double, so rounding it rounds the float's own value, halves
    // away from zero as the "0.00" pattern does.
    const int64_t hundredths = std::llround(static_cast<double>(km) * 100.0);
    return std::to_string(hundredths / 100) + "," + TwoDigits(static_cast<int>(hundredths % 100)) + " km";
}

std::string SunLine(std::string_view sunrise, std::string_view sunset) {
    const std::optional<Daylight> daylight = ReadDaylight(sunrise, sunset);
    if (!daylight) return {};
    if (daylight->PolarNight()) return "Güneş bugün doğmuyor";
    if (daylight->PolarDay()) return "Güneş bugün batmıyor";
    std::string line = "GD: " + ShortTime(daylight->sunrise) + ", GB: " + ShortTime(daylight->sunset);
    if (daylight->SetsAfterMidnight()) line += " (ertesi gün)";
    return line;
}

std::string PositionLine(std::string_view latitude, std::string_view longitude) {
    if (latitude.empty() || longitude.empty()) return {};
    return "E: " + std::string(latitude) + "°, B: " + std::string(longitude) + "°";
}

std::string IpText(ConnectionState state, const WeatherData& weather) {
    if (state != ConnectionState::Succeeded) return PlaceText(state, weather);
    if (!weather.IPAddress.empty()) return weather.IPAddress;
    return "Araştırılıyor...";
}

std::string InformationText(ConnectionState state, const WeatherData& weather, const WidgetSettings& settings) {
    std::string text;
    AppendLine(text, settings.showWeatherText, TurkishConditionText(weather.ConditionCode));
    AppendLine(text, settings.showSunInfo, SunLine(weather.Sunrise, weather.Sunset));
    AppendLine(text, settings.showSituation, PositionLine(weather.Latitude, weather.Longitude));
    AppendLine(text, settings.showWind, WindLine(weather.WindDirection, weather.WindSpeed));
    AppendLine(text, settings.showHumidity, weather.Humidity, "Nem oranı: %");
    AppendLine(text, settings.showVisibility, VisibilityText(weather.Visibility), "Görüş mesafesi: ");
    AppendLine(text, settings.showChill, weather.WindChill, "Hissedilen sıcaklık: ", "°");
    AppendLine(text, settings.showDate, weather.DateText);
    AppendLine(text, settings.showHijri, weather.HijriDateText);
    AppendLine(text, settings.showIP, IpText(state, weather), "IP: ");
    if (text.size() > 1 && text.back() == '\n') text.resize(text.size() - 2);
    return text;
}

std::string TrayHint(ConnectionState state, const WeatherData& weather) {
    if (state != ConnectionState::Succeeded) return "Nimbo! - " + PlaceText(state, weather);
    std::string parts;
    for (const std::string& part : {PlaceText(state, weather), TurkishConditionText(weather.ConditionCode),
                                    TemperatureText(weather.Temperature)}) {
        if (!part.empty()) parts += part + ", ";
    }
    if (parts.size() > 1 && parts[parts.size() - 2] == ',') parts.resize(parts.size() - 2);
    return parts.empty() ? "Nimbo!" : "Nimbo! - " + parts;
}

}  // namespace nimbo
