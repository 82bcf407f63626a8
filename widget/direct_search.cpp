// Direct mode's location search results and the coordinates of the one picked.
#include "widget/direct_search.h"

namespace nimbo {

void DirectSearch::ReadReply(std::string_view json) {
    m_places = ReadGeocodingSearch(json);
    m_names = SearchResultNames(m_places);
    m_pairs = SearchResultLines(m_places);
}

void DirectSearch::RememberPicked(SettingsFile& settings, size_t index) const {
    if (index < m_places.size()) RememberCoordinates(settings, m_places[index].id, m_places[index].at);
}

}  // namespace nimbo
