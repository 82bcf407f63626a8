// What a feed request gets: the cached feed at once, a wait (bounded) for an upstream call, or the error
// feed; and the accounting behind it: one call per place, the upstream budget with its share for refreshes,
// a bounded number of calls queued or running, and a bounded number of waiting requests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "service/core/feed_cache.h"
#include "service/core/upstream_budget.h"

namespace nimbo::service {

struct DeskLimits {
    size_t maxCalls = 64;        // upstream calls queued or running at once
    size_t maxWaiting = 10000;   // requests waiting for upstream calls, all places together
    int64_t fetchWaitMs = 5000;  // a request for a place with no feed to serve waits this long for its call
    // A request for a place whose feed is stale waits this long for the refresh before it gets the stale feed:
    // a healthy upstream answers within it, so someone who asks rarely does not always get the feed of his
    // previous visit, and a stalled one costs no one more than this.
    int64_t staleWaitMs = 300;
};

enum class FeedAnswer { Fresh, Stale, Unavailable, Wait };

// Why no upstream call was started for a place that needed one.
enum class Refusal { None, BudgetForNewPlaces, BudgetForRefreshes, QueueFull };

struct FeedDecision {
    FeedAnswer answer = FeedAnswer::Unavailable;
    bool fetch = false;  // start the upstream call for the place now
    Freshness found = Freshness::Missing;
    Refusal refusal = Refusal::None;
    bool refusalStarts = false;  // the first refusal of its kind since one of that kind was last allowed
};

struct Waiter {
    uint64_t ticket = 0;  // the caller's name for the waiting request
    uint32_t place = 0;
    FeedUnit unit = FeedUnit::Celsius;
};

class FeedDesk {
public:
    FeedDesk(CachePolicy cache, BudgetLimits budget, DeskLimits limits);

    // A request for `place` at `now` (wall-clock seconds, which date the feeds) and `nowMs` (monotonic, for
    // the waits). On Wait it is kept under `ticket` until its call ends or its wait does.
    FeedDecision Ask(uint32_t place, FeedUnit unit, uint64_t ticket, int64_t now, int64_t nowMs);

    // The call for `place` ended, with both units' feeds or (failed) none; its waiting requests are handed back.
    std::vector<Waiter> Finished(uint32_t place, std::optional<std::array<CachedFeed, 2>> feeds, int64_t now);
    // Waiting requests whose wait is over at `nowMs`; they get what the cache holds.
    std::vector<Waiter> Expired(int64_t nowMs);
    std::vector<Waiter> TakeAll();
    std::optional<int64_t> NextExpiry() const;

    FeedCache::Found Find(uint32_t place, FeedUnit unit, int64_t now) const { return m_cache.Find(place, unit, now); }
    const FeedCache& cache() const { return m_cache; }
    size_t waiting() const { return m_expiries.size(); }
    size_t calls() const { return m_calls; }
    size_t BudgetUsedToday(int64_t now) { return m_budget.UsedToday(now); }

private:
    Refusal TryStartCall(uint32_t place, bool cached, int64_t now);
    bool NoteRefusal(Refusal refusal);

    FeedCache m_cache;
    UpstreamBudget m_budget;
    DeskLimits m_limits;
    size_t m_calls = 0;
    std::unordered_map<uint32_t, std::vector<Waiter>> m_waiters;   // by place
    std::set<std::tuple<int64_t, uint64_t, uint32_t>> m_expiries;  // (end of wait, ticket, place)
    std::unordered_map<uint64_t, int64_t> m_waitEnds;              // by ticket
    std::array<bool, 4> m_refusing{};                              // by Refusal: refused since last allowed
};

}  // namespace nimbo::service
