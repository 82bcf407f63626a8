// The feed cache: one entry per place holding both units' feeds, freshness rules, one upstream call at a time
// per place, and a pause after a failed call so a dead upstream is not asked again for every request.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

#include "service/forecast/open_meteo_feed.h"

namespace nimbo::service {

struct CachePolicy {
    int64_t freshSeconds = 600;       // served without asking the upstream
    int64_t staleSeconds = 6 * 3600;  // still served when the upstream fails
    int64_t retrySeconds = 30;        // after a failure, the upstream is left alone this long
    size_t maxPlaces = 20000;
};

struct CachedFeed {
    std::string body;
    std::string etag;  // a strong validator of the body
    int64_t builtAt = 0;
};

enum class Freshness { Missing, Fresh, Stale, Expired };

class FeedCache {
public:
    explicit FeedCache(CachePolicy policy) : m_policy(policy) {}

    struct Found {
        Freshness freshness = Freshness::Missing;
        const CachedFeed* feed = nullptr;  // set unless Missing
    };
    Found Find(uint32_t place, FeedUnit unit, int64_t now) const;

    // Whether the upstream should be asked for `place` now: not while a call runs or just after one failed.
    bool ShouldFetch(uint32_t place, int64_t now) const;
    void FetchStarted(uint32_t place);
    void FetchSucceeded(uint32_t place, std::array<CachedFeed, 2> feeds, int64_t now);
    void FetchFailed(uint32_t place, int64_t now);
    bool Fetching(uint32_t place) const;

    size_t size() const { return m_entries.size(); }
    const CachePolicy& policy() const { return m_policy; }

private:
    struct Entry {
        std::array<CachedFeed, 2> feeds;
        int64_t fetchedAt = 0;
        bool hasFeeds = false;
        bool fetching = false;
        bool failed = false;  // the last call failed, at failedAt
        int64_t failedAt = 0;
        std::list<uint32_t>::iterator age;  // position in m_ages
    };

    Entry& Touch(uint32_t place);
    void EvictIfFull();

    CachePolicy m_policy;
    std::unordered_map<uint32_t, Entry> m_entries;
    std::list<uint32_t> m_ages;  // least recently stored first
};

// A strong ETag for a body: a quoted 64-bit FNV-1a hash.
std::string EntityTag(const std::string& body);

// "Tue, 08 Dec 2026 06:50:00 GMT".
std::string HttpDate(int64_t utcSeconds);

}  // namespace nimbo::service
