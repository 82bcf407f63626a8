// Fuzz target: any search reply, and any place name from it, goes safely through the search reader and the
// favourites' name rules.
#include <cstddef>
#include <cstdint>
#include <string>

#include "widget/config/favorites.h"
#include "widget/config/location_search.h"
#include "widget/config/turkish_order.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    nimbo::FavoriteList favorites;
    for (const auto& place : nimbo::ParseSearchReply(bytes)) favorites.Add(place);
    favorites.Add({bytes, bytes});
    nimbo::SearchUrl("http://h", bytes);
    nimbo::TurkishCompare(bytes, nimbo::NameFoldKey(bytes));
    if (!favorites.Places().empty()) favorites.Remove(0);
    return 0;
}
