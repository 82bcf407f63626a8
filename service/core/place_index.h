// The places in memory: by id for feeds, by folded name for the search, with the old location codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "service/core/places.h"
#include "service/forecast/open_meteo_feed.h"

namespace nimbo::service {

inline constexpr size_t kMaxSearchResults = 20;

struct ResolvedPlace {
    uint32_t geonameId = 0;  // the cache and upstream key
    FeedPlace feed;
};

class PlaceIndex {
public:
    explicit PlaceIndex(std::vector<Place> places = {});

    size_t size() const { return m_places.size(); }

    // A validated id: a GeoNames id in the index, or an old code ("TUXX0014"), which works even without
    // the index. Nothing for an unknown place.
    std::optional<ResolvedPlace> Resolve(std::string_view id) const;

    // Places whose name (or alternative name) starts with the folded query: exact names first, then by
    // population. Queries shorter than two letters find nothing.
    std::vector<const Place*> Search(std::string_view query, size_t limit = kMaxSearchResults) const;

    // The lines of one search answer, in order: "İzmir, İzmir, Türkiye", "Berlin, State of Berlin, Almanya", and
    // where two would read the same, the district too: "Hollywood, Broward County, Florida, Amerika Birleşik
    // Devletleri".
    std::vector<std::string> DisplayNames(const std::vector<const Place*>& places) const;

private:
    const Place* FindId(uint32_t id) const;
    std::string Region(const Place& place) const;
    // The ranked hits (indices into m_keys) for the keys [begin, end) that start with `prefix`.
    std::vector<uint32_t> RankedHits(size_t begin, size_t end, std::string_view prefix, size_t limit) const;
    void RankCrowdedPrefixes(size_t begin, size_t end, size_t length);

    std::vector<Place> m_places;                                   // sorted by id
    std::vector<std::pair<std::string, uint32_t>> m_keys;          // folded name, index into m_places; sorted
    std::vector<std::pair<std::string, std::string>> m_provinces;  // Turkish admin1 code, seat's name; sorted
    // Short prefixes ("sa") match tens of thousands of keys, too many to walk for each search in time when
    // they are not in the processor's cache: their best hits are ranked once, here.
    std::unordered_map<std::string, std::vector<uint32_t>> m_rankedPrefixes;
};

}  // namespace nimbo::service
