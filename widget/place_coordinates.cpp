// Coordinates as Options.ini keeps them, and where the program finds a place's.
#include "widget/place_coordinates.h"

#include <charconv>
#include <cmath>

#include "service/forecast/known_places.h"

namespace nimbo {
namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> ParseDegrees(std::string_view text, double limit) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
    return value;
}

std::string FormatDegrees(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 5);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string FormatCoordinates(const Coordinates& at) {
    return FormatDegrees(at.latitude) + "," + FormatDegrees(at.longitude);
}

std::optional<Coordinates> ParseCoordinates(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto latitude = ParseDegrees(text.substr(0, comma), 90);
    const auto longitude = ParseDegrees(text.substr(comma + 1), 180);
    if (!latitude || !longitude) return std::nullopt;
    return Coordinates{*latitude, *longitude};
}

bool IsGeoNamesId(std::string_view id) {
    if (id.empty() || id.size() > 9 || id.front() == '0') return false;
    for (char c : id) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::optional<Coordinates> PlaceCoordinates(const SettingsFile& settings, const std::string& id) {
    if (const service::KnownPlace* place = service::FindKnownPlace(id)) return Coordinates{place->latitude, place->longitude};
    if (!IsGeoNamesId(id)) return std::nullopt;
    return ParseCoordinates(settings.ReadString(kCoordinatesSection, id, ""));
}

void RememberCoordinates(SettingsFile& settings, const std::string& id, const Coordinates& at) {
    if (!IsGeoNamesId(id)) return;
    settings.WriteString(kCoordinatesSection, id, FormatCoordinates(at));
}

}  // namespace nimbo
