// The search answer: <search><loc id="...">Name, Region, Country</loc>...</search>.
#pragma once

#include <string>
#include <vector>

#include "service/core/place_index.h"

namespace nimbo::service {

enum class DocumentEncoding { Utf8, Windows1254 };

// Old clients read the answer in their ANSI code page: they get Windows-1254 (letters it lacks become '?').
std::string SearchDocument(const PlaceIndex& index, const std::vector<const Place*>& places, DocumentEncoding encoding);

}  // namespace nimbo::service
