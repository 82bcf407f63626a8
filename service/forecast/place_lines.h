// The lines of a place search, the same in both modes: "Name, Region, Country", and where two places of one
// list would read the same, the smaller divisions that tell them apart.
#pragma once

#include <string>
#include <vector>

namespace nimbo::service {

struct PlaceLineParts {
    std::string name;
    std::string region;                         // first-level division (GeoNames admin1); may be empty
    std::vector<std::string> smallerDivisions;  // admin2, admin3, ... as far as known; entries may be empty
    std::string country;
    double latitude = 0;
    double longitude = 0;
};

// One line per place, in order; empty parts are left out. Places whose lines collide get the first smaller
// division that differs among them, next to their name: "Hollywood, Broward County, Florida, Amerika Birleşik
// Devletleri" and "Hollywood, Los Angeles County, California, ...". Places that no known division tells apart
// get their position: "Neuenkirchen, Lower Saxony, Almanya (52.41° K 7.38° D)"; lines stay alike only for
// places at the same spot.
std::vector<std::string> PlaceLines(const std::vector<PlaceLineParts>& places);

}  // namespace nimbo::service
