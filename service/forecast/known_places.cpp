// Finding a place whose coordinates the program carries.
#include "service/forecast/known_places.h"

namespace nimbo::service {

const KnownPlace* FindKnownPlace(std::string_view id) {
    for (const KnownPlace& place : KnownPlaces()) {
        if (id == place.id) return &place;
    }
    return nullptr;
}

}  // namespace nimbo::service
