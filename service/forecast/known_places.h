// Places whose coordinates the programs carry: the widget's old location codes and Turkey's province seats. The
// widget asks Open-Meteo for them without a look-up; the data service knows the old codes and the seats' Turkish
// names by them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace nimbo::service {

struct KnownPlace {
    const char* id;        // an old location code ("TUXX0014") or a GeoNames id ("745044")
    uint32_t geonameId;    // the GeoNames place it stands for
    const char* name;      // in Turkish, where GeoNames spells it otherwise ("Gümüşhane", not "Gumushkhane")
    double latitude;
    double longitude;
};

// Generated from the GeoNames places by scripts/known_places.py (known_places_table.cpp).
const std::vector<KnownPlace>& KnownPlaces();

// Null when the programs do not carry the place.
const KnownPlace* FindKnownPlace(std::string_view id);

}  // namespace nimbo::service
