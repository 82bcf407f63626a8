// Freshness and single-flight bookkeeping of the feed cache.
#include "service/core/feed_cache.h"

#include <cstdio>

#include "service/forecast/feed_dates.h"

namespace nimbo::service {

FeedCache::Found FeedCache::Find(uint32_t place, FeedUnit unit, int64_t now) const {
    const auto it = m_entries.find(place);
    if (it == m_entries.end() || !it->second.hasFeeds) return {};
    const Entry& entry = it->second;
    const int64_t age = now - entry.fetchedAt;
    const Freshness freshness = age < m_policy.freshSeconds   ? Freshness::Fresh
                                : age < m_policy.staleSeconds ? Freshness::Stale
                                                              : Freshness::Expired;
    return {freshness, &entry.feeds[unit == FeedUnit::Celsius ? 0 : 1]};
}

bool FeedCache::ShouldFetch(uint32_t place, int64_t now) const {
    const auto it = m_entries.find(place);
    if (it == m_entries.end()) return true;
    const Entry& entry = it->second;
    return !entry.fetching && (!entry.failed || now - entry.failedAt >= m_policy.retrySeconds);
}

bool FeedCache::Fetching(uint32_t place) const {
    const auto it = m_entries.find(place);
    return it != m_entries.end() && it->second.fetching;
}

FeedCache::Entry& FeedCache::Touch(uint32_t place) {
    auto [it, inserted] = m_entries.try_emplace(place);
    if (inserted) {
        m_ages.push_back(place);
    } else {
        m_ages.erase(it->second.age);
        m_ages.push_back(place);
    }
    it->second.age = std::prev(m_ages.end());
    return it->second;
}

void FeedCache::EvictIfFull() {
    // Only places with no call running may go, so a waiting request always finds its entry.
    for (auto it = m_ages.begin(); m_entries.size() > m_policy.maxPlaces && it != m_ages.end();) {
        const auto entry = m_entries.find(*it);
        if (entry->second.fetching) {
            ++it;
            continue;
        }
        m_entries.erase(entry);
        it = m_ages.erase(it);
    }
}

void FeedCache::FetchStarted(uint32_t place) {
    Touch(place).fetching = true;
    EvictIfFull();
}

void FeedCache::FetchSucceeded(uint32_t place, std::array<CachedFeed, 2> feeds, int64_t now) {
    Entry& entry = Touch(place);
    entry.feeds = std::move(feeds);
    entry.hasFeeds = true;
    entry.fetchedAt = now;
    entry.fetching = false;
    entry.failed = false;
    EvictIfFull();
}

void FeedCache::FetchFailed(uint32_t place, int64_t now) {
    Entry& entry = Touch(place);
    entry.fetching = false;
    entry.failed = true;
    entry.failedAt = now;
    EvictIfFull();
}

std::string EntityTag(const std::string& body) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : body) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char text[20];
    std::snprintf(text, sizeof text, "\"%016llx\"", static_cast<unsigned long long>(hash));
    return text;
}

std::string HttpDate(int64_t utcSeconds) {
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const LocalTime t = LocalTimeAt(utcSeconds, 0);
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT", WeekdayName(t).c_str(), t.day,
                  kMonths[t.month - 1], t.year, t.hour, t.minute, static_cast<int>(((utcSeconds % 60) + 60) % 60));
    return text;
}

}  // namespace nimbo::service
