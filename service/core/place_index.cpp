// Building the place index and answering lookups and searches from it.
#include "service/core/place_index.h"

#include <algorithm>

#include "service/core/country_names.h"
#include "service/core/search_fold.h"

namespace nimbo::service {
namespace {

struct OldCode {
    const char* code;
    uint32_t geonameId;
    const char* name;
    double latitude;
    double longitude;
};

// The widget's old location codes of the Turkish cities, and the GeoNames places they stand for.
constexpr OldCode kOldCodes[] = {
    {"TUXX0002", 323786, "Ankara", 39.91987, 32.85427},   {"TUXX0004", 323777, "Antalya", 36.90812, 30.69556},
    {"TUXX0014", 745044, "İstanbul", 41.01384, 28.94966}, {"TUXX0015", 311046, "İzmir", 38.41273, 27.13838},
    {"TUXX0039", 750269, "Bursa", 40.19559, 29.06013},    {"TUXX0040", 315202, "Eskişehir", 39.77667, 30.52056},
};

// Names the package spells without their Turkish letters.
constexpr std::pair<uint32_t, const char*> kTurkishSpellings[] = {{745044, "İstanbul"}};

}  // namespace

PlaceIndex::PlaceIndex(std::vector<Place> places) : m_places(std::move(places)) {
    std::sort(m_places.begin(), m_places.end(), [](const Place& a, const Place& b) { return a.id < b.id; });
    for (const auto& [id, name] : kTurkishSpellings) {
        auto it = std::lower_bound(m_places.begin(), m_places.end(), id,
                                   [](const Place& p, uint32_t key) { return p.id < key; });
        if (it != m_places.end() && it->id == id) it->name = name;
    }
    m_keys.reserve(m_places.size());
    for (uint32_t i = 0; i < m_places.size(); ++i) {
        const Place& place = m_places[i];
        const std::string key = FoldForSearch(place.name);
        m_keys.emplace_back(key, i);
        if (!place.altName.empty() && FoldForSearch(place.altName) != key)
            m_keys.emplace_back(FoldForSearch(place.altName), i);
        if (place.country == "TR" && (place.featureCode == "PPLA" || place.featureCode == "PPLC"))
            m_provinces.emplace_back(place.admin1, place.name);
    }
    std::sort(m_keys.begin(), m_keys.end());
    std::sort(m_provinces.begin(), m_provinces.end());
}

const Place* PlaceIndex::FindId(uint32_t id) const {
    const auto it =
        std::lower_bound(m_places.begin(), m_places.end(), id, [](const Place& p, uint32_t key) { return p.id < key; });
    return it != m_places.end() && it->id == id ? &*it : nullptr;
}

std::string PlaceIndex::Region(const Place& place) const {
    if (place.country != "TR") return {};
    const auto it =
        std::lower_bound(m_provinces.begin(), m_provinces.end(), std::make_pair(place.admin1, std::string()));
    return it != m_provinces.end() && it->first == place.admin1 ? it->second : std::string();
}

std::string PlaceIndex::DisplayName(const Place& place) const {
    std::string name = place.name;
    const std::string region = Region(place);
    if (!region.empty()) name += ", " + region;
    const std::string_view country = CountryName(place.country);
    name += ", ";
    name += country.empty() ? std::string_view(place.country) : country;
    return name;
}

std::optional<ResolvedPlace> PlaceIndex::Resolve(std::string_view id) const {
    for (const OldCode& old : kOldCodes) {
        if (id != old.code) continue;
        if (const Place* place = FindId(old.geonameId)) {
            return ResolvedPlace{old.geonameId,
                                 {std::string(id), place->name, Region(*place),
                                  std::string(CountryName(place->country)), place->latitude, place->longitude}};
        }
        return ResolvedPlace{old.geonameId,
                             {std::string(id), old.name, old.name, "Türkiye", old.latitude, old.longitude}};
    }
    uint64_t number = 0;
    for (const char c : id) {
        if (c < '0' || c > '9' || number > 0xFFFFFFFFull) return std::nullopt;
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    const Place* place = number <= 0xFFFFFFFFull ? FindId(static_cast<uint32_t>(number)) : nullptr;
    if (!place) return std::nullopt;
    const std::string_view country = CountryName(place->country);
    return ResolvedPlace{
        place->id,
        {std::string(id), place->name, Region(*place),
         std::string(country.empty() ? std::string_view(place->country) : country), place->latitude, place->longitude}};
}

std::vector<const Place*> PlaceIndex::Search(std::string_view query, size_t limit) const {
    const std::string key = FoldForSearch(query);
    if (key.size() < 2) return {};
    struct Hit {
        bool exact;
        const Place* place;
    };
    std::vector<Hit> hits;
    for (auto it = std::lower_bound(m_keys.begin(), m_keys.end(), std::make_pair(key, uint32_t{0}));
         it != m_keys.end() && it->first.compare(0, key.size(), key) == 0; ++it) {
        hits.push_back({it->first.size() == key.size(), &m_places[it->second]});
    }
    const auto better = [](const Hit& a, const Hit& b) {
        if (a.exact != b.exact) return a.exact;
        if (a.place->population != b.place->population) return a.place->population > b.place->population;
        return a.place->id < b.place->id;
    };
    // A place is in the index under at most two names, so the best 2 * limit hits hold `limit` places.
    const size_t needed = std::min(hits.size(), 2 * limit);
    std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(needed), hits.end(), better);
    hits.resize(needed);
    std::vector<const Place*> result;
    for (const Hit& hit : hits) {
        if (result.size() == limit) break;
        // A place found by both of its names is listed once, at its better rank.
        if (std::find(result.begin(), result.end(), hit.place) == result.end()) result.push_back(hit.place);
    }
    return result;
}

}  // namespace nimbo::service
