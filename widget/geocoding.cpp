// Geocoding requests and answers; the answers are read strictly, since they come from the network.
#include "widget/geocoding.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "base/untrusted_text.h"

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

std::string PlaceDisplayName(const GeoPlace& place) {
    std::string name = place.name;
    if (place.countryCode == "TR" && !place.region.empty()) name += ", " + place.region;
    if (!place.country.empty()) name += ", " + place.country;
    return name;
}

std::vector<std::string> SearchResultLines(const std::vector<GeoPlace>& places) {
    std::vector<std::string> lines;
    for (const GeoPlace& place : places) lines.push_back(PlaceDisplayName(place) + "=" + place.id);
    return lines;
}

GeoPlace PlaceFromDisplayName(const std::string& displayName) {
    GeoPlace place;
    std::string* parts[] = {&place.name, &place.region, &place.country};
    std::string_view rest = displayName;
    for (size_t i = 0; i < 3; ++i) {
        const size_t comma = i < 2 ? rest.find(',') : std::string_view::npos;
        *parts[i] = std::string(Trimmed(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    // "Name, Country": two parts name the country second.
    if (place.country.empty() && !place.region.empty()) std::swap(place.region, place.country);
    return place;
}

}  // namespace nimbo
