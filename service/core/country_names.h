// Country names for search results and feeds, by ISO 3166-1 alpha-2 code.
#pragma once

#include <string_view>

namespace nimbo::service {

// The Turkish name ("Almanya", "Amerika Birleşik Devletleri", "Türkiye"), as Open-Meteo names countries for
// language=tr; empty for an unknown code.
std::string_view CountryName(std::string_view code);

}  // namespace nimbo::service
