// Deciding each feed request and keeping the requests that wait for upstream calls.
#include "service/core/feed_desk.h"

#include <algorithm>

namespace nimbo::service {

FeedDesk::FeedDesk(CachePolicy cache, BudgetLimits budget, DeskLimits limits)
    : m_cache(cache), m_budget(budget), m_limits(limits) {}

bool FeedDesk::NoteRefusal(Refusal refusal) {
    bool& refusing = m_refusing[static_cast<size_t>(refusal)];
    const bool starts = !refusing;
    refusing = true;
    return starts;
}

Refusal FeedDesk::TryStartCall(uint32_t place, bool cached, int64_t now) {
    if (m_calls >= m_limits.maxCalls) return Refusal::QueueFull;
    if (!m_budget.TryTake(now, cached ? UpstreamCall::Refresh : UpstreamCall::NewPlace)) {
        if (!cached) return Refusal::BudgetForNewPlaces;
        // Counts as a failed call: the place waits like after one instead of asking the budget every request.
        m_cache.FetchFailed(place, now);
        return Refusal::BudgetForRefreshes;
    }
    m_cache.FetchStarted(place);
    ++m_calls;
    m_refusing[static_cast<size_t>(Refusal::QueueFull)] = false;
    m_refusing[static_cast<size_t>(cached ? Refusal::BudgetForRefreshes : Refusal::BudgetForNewPlaces)] = false;
    return Refusal::None;
}

FeedDecision FeedDesk::Ask(uint32_t place, FeedUnit unit, uint64_t ticket, int64_t now, int64_t nowMs) {
    const FeedCache::Found found = m_cache.Find(place, unit, now);
    FeedDecision decision;
    decision.found = found.freshness;
    if (found.freshness == Freshness::Fresh) {
        decision.answer = FeedAnswer::Fresh;
        return decision;
    }
    const bool servable = found.freshness == Freshness::Stale;
    const bool running = m_cache.Fetching(place);
    if (!running && m_cache.ShouldFetch(place, now)) {
        decision.refusal = TryStartCall(place, found.feed != nullptr, now);
        decision.fetch = decision.refusal == Refusal::None;
        if (!decision.fetch) decision.refusalStarts = NoteRefusal(decision.refusal);
    }
    const int64_t wait = servable ? m_limits.staleWaitMs : m_limits.fetchWaitMs;
    if ((running || decision.fetch) && wait > 0 && waiting() < m_limits.maxWaiting &&
        m_waitEnds.find(ticket) == m_waitEnds.end()) {
        m_waiters[place].push_back({ticket, place, unit});
        m_expiries.emplace(nowMs + wait, ticket, place);
        m_waitEnds.emplace(ticket, nowMs + wait);
        decision.answer = FeedAnswer::Wait;
        return decision;
    }
    decision.answer = servable ? FeedAnswer::Stale : FeedAnswer::Unavailable;
    return decision;
}

std::vector<Waiter> FeedDesk::Finished(uint32_t place, std::optional<std::array<CachedFeed, 2>> feeds, int64_t now) {
    if (m_calls > 0) --m_calls;
    if (feeds) {
        m_cache.FetchSucceeded(place, std::move(*feeds), now);
    } else {
        m_cache.FetchFailed(place, now);
    }
    std::vector<Waiter> waiters;
    if (const auto it = m_waiters.find(place); it != m_waiters.end()) {
        waiters.swap(it->second);
        m_waiters.erase(it);
    }
    for (const Waiter& waiter : waiters) {
        const auto end = m_waitEnds.find(waiter.ticket);
        m_expiries.erase({end->second, waiter.ticket, place});
        m_waitEnds.erase(end);
    }
    return waiters;
}

std::vector<Waiter> FeedDesk::Expired(int64_t nowMs) {
    std::vector<Waiter> expired;
    std::vector<uint32_t> places;
    while (!m_expiries.empty() && std::get<0>(*m_expiries.begin()) <= nowMs) {
        const auto [end, ticket, place] = *m_expiries.begin();
        m_expiries.erase(m_expiries.begin());
        m_waitEnds.erase(ticket);
        places.push_back(place);
    }
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    // Each place's list is walked once, however many of its requests are over.
    for (const uint32_t place : places) {
        std::vector<Waiter>& waiters = m_waiters[place];
        const auto over = std::stable_partition(waiters.begin(), waiters.end(), [this](const Waiter& w) {
            return m_waitEnds.find(w.ticket) != m_waitEnds.end();
        });
        expired.insert(expired.end(), over, waiters.end());
        waiters.erase(over, waiters.end());
        if (waiters.empty()) m_waiters.erase(place);
    }
    return expired;
}

std::vector<Waiter> FeedDesk::TakeAll() {
    std::vector<Waiter> all;
    for (auto& [place, waiters] : m_waiters) all.insert(all.end(), waiters.begin(), waiters.end());
    m_waiters.clear();
    m_expiries.clear();
    m_waitEnds.clear();
    return all;
}

std::optional<int64_t> FeedDesk::NextExpiry() const {
    if (m_expiries.empty()) return std::nullopt;
    return std::get<0>(*m_expiries.begin());
}

}  // namespace nimbo::service
