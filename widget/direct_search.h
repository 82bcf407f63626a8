// The options dialog's location search in direct mode: Open-Meteo's geocoding search in place of the data
// service's, listed the same way ("Name, Region, Country", the GeoNames id as the location ID).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "widget/geocoding.h"
#include "widget/settings_file.h"

namespace nimbo {

class DirectSearch {
public:
    explicit DirectSearch(std::string geocodingBase) : m_base(std::move(geocodingBase)) {}

    // The request for what the user typed (UTF-8).
    std::string Url(const std::string& query) const { return GeocodingSearchUrl(m_base, query); }

    // Replaces the results with those of a reply; a reply that is no answer or has no `results` lists none.
    void ReadReply(std::string_view json);

    // Parallel lists for the dialog: the names shown, and the "name=ID" lines it saves from.
    const std::vector<std::string>& Names() const { return m_names; }
    const std::vector<std::string>& Pairs() const { return m_pairs; }
    const std::vector<GeoPlace>& Places() const { return m_places; }

    // Entry `index` became the place or a favourite: its coordinates are remembered, so the widget asks
    // only for its forecast. An index past the list does nothing.
    void RememberPicked(SettingsFile& settings, size_t index) const;

private:
    std::string m_base;
    std::vector<GeoPlace> m_places;
    std::vector<std::string> m_names;
    std::vector<std::string> m_pairs;
};

}  // namespace nimbo
