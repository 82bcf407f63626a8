// Fuzz target: any request target goes through the router and the search text decoding safely, and
// whatever passes validation holds only what the validators allow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "service/core/place_index.h"
#include "service/core/request.h"
#include "service/core/search_fold.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string target(reinterpret_cast<const char*>(data), size);
    const nimbo::service::Request request = nimbo::service::ParseRequestTarget(target);
    if (request.route == nimbo::service::Route::Feed && !nimbo::service::IsValidPlaceId(request.placeId)) std::abort();
    if (request.route == nimbo::service::Route::Search) {
        // Windows-1254 letters take up to three bytes in UTF-8.
        if (request.query.size() > 3 * nimbo::service::kMaxQueryBytes) std::abort();
        static const nimbo::service::PlaceIndex index;
        index.Search(request.query);
        nimbo::service::FoldForSearch(request.query);
    }
    nimbo::service::DecodeSearchQuery(target);
    return 0;
}
