// Geocoding requests and answers; the answers are read strictly, since they come from the network.
#include "widget/geocoding.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "base/untrusted_text.h"
#include "service/forecast/place_lines.h"

namespace nimbo {
namespace {

using Json = nlohmann::json;

std::string PercentEncoded(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string Text(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::optional<double> Degrees(const Json& object, const char* key, double limit) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number()) return std::nullopt;
    const double value = it->get<double>();
    if (!std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
    return value;
}

std::optional<GeoPlace> ReadPlace(const Json& object) {
    if (!object.is_object()) return std::nullopt;
    const auto id = object.find("id");
    if (id == object.end() || !id->is_number_integer()) return std::nullopt;
    GeoPlace place;
    place.id = std::to_string(id->get<int64_t>());
    // The names are shown, and the place's name is stored in Options.ini: one line each, whatever the answer holds.
    place.name = OneLine(Text(object, "name"));
    place.region = OneLine(Text(object, "admin1"));
    for (const char* key : {"admin2", "admin3", "admin4"}) place.smallerDivisions.push_back(OneLine(Text(object, key)));
    place.country = OneLine(Text(object, "country"));
    place.countryCode = OneLine(Text(object, "country_code"));
    const auto latitude = Degrees(object, "latitude", 90);
    const auto longitude = Degrees(object, "longitude", 180);
    if (!IsGeoNamesId(place.id) || place.name.empty() || !latitude || !longitude) return std::nullopt;
    place.at = {*latitude, *longitude};
    return place;
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string GeocodingSearchUrl(const std::string& geocodingBase, const std::string& query) {
    return geocodingBase + "/search?name=" + PercentEncoded(query) + "&count=" + std::to_string(kGeocodingSearchCount) +
           "&language=tr&format=json";
}

std::string GeocodingGetUrl(const std::string& geocodingBase, const std::string& id) {
    if (!IsGeoNamesId(id)) return {};
    return geocodingBase + "/get?id=" + id + "&language=tr&format=json";
}

std::vector<GeoPlace> ReadGeocodingSearch(std::string_view json) {
    const Json answer = Json::parse(json, nullptr, false);
    std::vector<GeoPlace> places;
    if (!answer.is_object()) return places;
    const auto results = answer.find("results");
    if (results == answer.end() || !results->is_array()) return places;
    for (const Json& entry : *results) {
        if (auto place = ReadPlace(entry)) places.push_back(std::move(*place));
    }
    return places;
}

std::optional<GeoPlace> ReadGeocodingPlace(std::string_view json) {
    return ReadPlace(Json::parse(json, nullptr, false));
}

std::vector<std::string> SearchResultNames(const std::vector<GeoPlace>& places) {
    std::vector<service::PlaceLineParts> parts;
    for (const GeoPlace& place : places) {
        parts.push_back(
            {place.name, place.region, place.smallerDivisions, place.country, place.at.latitude, place.at.longitude});
    }
    return service::PlaceLines(parts);
}

std::vector<std::string> SearchResultLines(const std::vector<GeoPlace>& places) {
    std::vector<std::string> lines = SearchResultNames(places);
    for (size_t i = 0; i < lines.size(); ++i) lines[i] += "=" + places[i].id;
    return lines;
}

GeoPlace PlaceFromDisplayName(const std::string& displayName) {
    std::vector<std::string> parts;
    std::string_view rest = displayName;
    for (size_t comma; (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1)) {
        parts.emplace_back(Trimmed(rest.substr(0, comma)));
    }
    parts.emplace_back(Trimmed(rest));
    GeoPlace place;
    place.name = parts.front();
    if (parts.size() >= 2) place.country = parts.back();
    // A position that tells places of the same name apart follows the country: "Almanya (52.41° K 7.38° D)".
    if (const size_t open = place.country.find(" ("); open != std::string::npos && place.country.back() == ')') {
        place.country.resize(open);
    }
    if (parts.size() >= 3) place.region = parts[parts.size() - 2];
    return place;
}

}  // namespace nimbo
