// Places whose coordinates the program carries: the old location codes it knows and Turkey's province seats.
#pragma once

#include <string_view>
#include <vector>

namespace nimbo {

struct KnownPlace {
    const char* id;  // an old location code ("TUXX0014") or a GeoNames id ("745044")
    const char* name;
    double latitude;
    double longitude;
};

// Generated from the GeoNames places by scripts/known_places.py (known_places_table.cpp).
const std::vector<KnownPlace>& KnownPlaces();

// Null when the program does not carry the place.
const KnownPlace* FindKnownPlace(std::string_view id);

}  // namespace nimbo
