// Open-Meteo's geocoding API in direct mode: the search and get-by-id requests, and reading their answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "widget/place_coordinates.h"

namespace nimbo {

// A GeoNames place as the geocoding API describes it.
struct GeoPlace {
    std::string id;  // the GeoNames id, the place's location ID
    std::string name;
    std::string region;                         // first-level administrative area (admin1); may be empty
    std::vector<std::string> smallerDivisions;  // admin2, admin3, admin4 (entries may be empty)
    std::string country;
    std::string countryCode;  // ISO 3166-1 alpha-2, "TR"
    Coordinates at;
};

// As many places as the data service's search lists.
inline constexpr int kGeocodingSearchCount = 20;

// "<base>/search?name=<query>&count=20&language=tr&format=json", the query (UTF-8) percent-encoded.
std::string GeocodingSearchUrl(const std::string& geocodingBase, const std::string& query);
// "<base>/get?id=<id>&language=tr&format=json"; empty when `id` is no GeoNames id, so nothing is asked.
std::string GeocodingGetUrl(const std::string& geocodingBase, const std::string& id);

// The places of a search answer in its order. An answer without `results` (nothing matched), or that is no
// JSON, gives none; an entry without an id, a name or coordinates in range is left out.
std::vector<GeoPlace> ReadGeocodingSearch(std::string_view json);
// The place of a get answer (one place object); no value for an error answer or anything incomplete.
std::optional<GeoPlace> ReadGeocodingPlace(std::string_view json);

// The names a search lists, as the data service's search names places: "Name, Region, Country", with the
// smaller divisions that tell apart places that would read the same.
std::vector<std::string> SearchResultNames(const std::vector<GeoPlace>& places);
// The search list's lines: display name, "=", GeoNames id.
std::vector<std::string> SearchResultLines(const std::vector<GeoPlace>& places);

// Splits a display name back: the name first, the country last and the region before it ("Name, Region,
// Country", "Name, District, Region, Country"); a name without commas is the name alone.
GeoPlace PlaceFromDisplayName(const std::string& displayName);

}  // namespace nimbo
