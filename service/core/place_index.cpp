// Building the place index and answering lookups and searches from it.
#include "service/core/place_index.h"

#include <algorithm>

#include "service/core/country_names.h"
#include "service/core/search_fold.h"
#include "service/forecast/known_places.h"
#include "service/forecast/place_lines.h"

namespace nimbo::service {
namespace {

// The widget's old location codes ("TUXX0014") begin with letters, GeoNames ids with digits.
bool IsOldCode(std::string_view id) { return !id.empty() && (id.front() < '0' || id.front() > '9'); }

// A prefix matching more keys than this has its best hits ranked when the index is built.
constexpr size_t kCrowdedPrefix = 256;
// A place is in the index under at most two names, so the best 2 * limit hits hold `limit` places.
constexpr size_t kRankedHits = 2 * kMaxSearchResults;

}  // namespace

PlaceIndex::PlaceIndex(std::vector<Place> places) : m_places(std::move(places)) {
    std::sort(m_places.begin(), m_places.end(), [](const Place& a, const Place& b) { return a.id < b.id; });
    // The province seats by their Turkish names ("Çankırı", not "Khanjarah"): in answers, in the regions of the
    // places around them, and for searches.
    for (const KnownPlace& known : KnownPlaces()) {
        if (IsOldCode(known.id)) continue;
        auto it = std::lower_bound(m_places.begin(), m_places.end(), known.geonameId,
                                   [](const Place& p, uint32_t key) { return p.id < key; });
        if (it != m_places.end() && it->id == known.geonameId) it->name = known.name;
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
    RankCrowdedPrefixes(0, m_keys.size(), 1);
}

void PlaceIndex::RankCrowdedPrefixes(size_t begin, size_t end, size_t length) {
    // [begin, end) share their first length - 1 bytes; each run sharing one more byte is a longer prefix.
    for (size_t first = begin; first < end;) {
        if (m_keys[first].first.size() < length) {
            ++first;
            continue;
        }
        const char next = m_keys[first].first[length - 1];
        size_t last = first;
        while (last < end && m_keys[last].first.size() >= length && m_keys[last].first[length - 1] == next) ++last;
        if (last - first > kCrowdedPrefix) {
            const std::string prefix = m_keys[first].first.substr(0, length);
            if (length >= 2) m_rankedPrefixes.emplace(prefix, RankedHits(first, last, prefix, kRankedHits));
            RankCrowdedPrefixes(first, last, length + 1);
        }
        first = last;
    }
}

std::vector<uint32_t> PlaceIndex::RankedHits(size_t begin, size_t end, std::string_view prefix, size_t limit) const {
    std::vector<uint32_t> hits(end - begin);
    for (size_t i = begin; i < end; ++i) hits[i - begin] = static_cast<uint32_t>(i);
    const auto better = [&](uint32_t a, uint32_t b) {
        const bool exactA = m_keys[a].first.size() == prefix.size();
        const bool exactB = m_keys[b].first.size() == prefix.size();
        if (exactA != exactB) return exactA;
        const Place& placeA = m_places[m_keys[a].second];
        const Place& placeB = m_places[m_keys[b].second];
        if (placeA.population != placeB.population) return placeA.population > placeB.population;
        return placeA.id < placeB.id;
    };
    const size_t needed = std::min(hits.size(), limit);
    std::partial_sort(hits.begin(), hits.begin() + static_cast<std::ptrdiff_t>(needed), hits.end(), better);
    hits.resize(needed);
    return hits;
}

const Place* PlaceIndex::FindId(uint32_t id) const {
    const auto it =
        std::lower_bound(m_places.begin(), m_places.end(), id, [](const Place& p, uint32_t key) { return p.id < key; });
    return it != m_places.end() && it->id == id ? &*it : nullptr;
}

std::string PlaceIndex::Region(const Place& place) const {
    // Turkish provinces go by their seats' Turkish names ("Çankırı"), as the widget's city list names them.
    if (place.country != "TR") return place.region;
    const auto it =
        std::lower_bound(m_provinces.begin(), m_provinces.end(), std::make_pair(place.admin1, std::string()));
    return it != m_provinces.end() && it->first == place.admin1 ? it->second : std::string();
}

std::vector<std::string> PlaceIndex::DisplayNames(const std::vector<const Place*>& places) const {
    std::vector<PlaceLineParts> parts;
    parts.reserve(places.size());
    for (const Place* place : places) {
        const std::string_view country = CountryName(place->country);
        parts.push_back({place->name,
                         Region(*place),
                         {place->district},
                         std::string(country.empty() ? std::string_view(place->country) : country),
                         place->latitude,
                         place->longitude});
    }
    return PlaceLines(parts);
}

std::optional<ResolvedPlace> PlaceIndex::Resolve(std::string_view id) const {
    if (IsOldCode(id)) {
        const KnownPlace* old = FindKnownPlace(id);
        if (!old) return std::nullopt;
        if (const Place* place = FindId(old->geonameId)) {
            return ResolvedPlace{old->geonameId,
                                 {std::string(id), place->name, Region(*place),
                                  std::string(CountryName(place->country)), place->latitude, place->longitude}};
        }
        return ResolvedPlace{old->geonameId,
                             {std::string(id), old->name, old->name, "Türkiye", old->latitude, old->longitude}};
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
    std::vector<uint32_t> computed;
    const std::vector<uint32_t>* hits = nullptr;
    if (const auto ranked = m_rankedPrefixes.find(key); ranked != m_rankedPrefixes.end() && 2 * limit <= kRankedHits) {
        hits = &ranked->second;
    } else {
        const auto first = std::lower_bound(m_keys.begin(), m_keys.end(), std::make_pair(key, uint32_t{0}));
        auto last = first;
        while (last != m_keys.end() && last->first.compare(0, key.size(), key) == 0) ++last;
        computed = RankedHits(static_cast<size_t>(first - m_keys.begin()), static_cast<size_t>(last - m_keys.begin()),
                              key, 2 * limit);
        hits = &computed;
    }
    std::vector<const Place*> result;
    for (const uint32_t hit : *hits) {
        if (result.size() == limit) break;
        // A place found by both of its names is listed once, at its better rank.
        const Place* place = &m_places[m_keys[hit].second];
        if (std::find(result.begin(), result.end(), place) == result.end()) result.push_back(place);
    }
    return result;
}

}  // namespace nimbo::service
