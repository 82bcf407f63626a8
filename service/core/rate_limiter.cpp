// Token buckets kept as one time each (the generic cell rate algorithm).
#include "service/core/rate_limiter.h"

#include <algorithm>

namespace nimbo::service {
namespace {

constexpr int64_t kMicrosPerMinute = 60'000'000;
constexpr int64_t kSweepPauseMicros = 1'000'000;  // a full table is swept at most once a second

}  // namespace

RateLimiter::RateLimiter(RateLimit limit, size_t maxClients)
    : m_limit{limit.perMinute, std::max<uint32_t>(limit.burst, 1)},
      m_maxClients(maxClients),
      m_intervalMicros(limit.perMinute == 0 ? 0 : std::max<int64_t>(kMicrosPerMinute / limit.perMinute, 1)) {}

void RateLimiter::ForgetFullBuckets(int64_t nowMicros) {
    for (auto it = m_fullAt.begin(); it != m_fullAt.end();) {
        it = it->second <= nowMicros ? m_fullAt.erase(it) : std::next(it);
    }
}

int64_t RateLimiter::Take(std::string_view client, int64_t nowMs) {
    if (m_limit.perMinute == 0) return 0;
    const int64_t now = nowMs * 1000;
    int64_t* fullAt = nullptr;
    if (const auto it = m_fullAt.find(std::string(client)); it != m_fullAt.end()) {
        fullAt = &it->second;
    } else {
        if (m_fullAt.size() >= m_maxClients && now >= m_nextSweepMicros) {
            ForgetFullBuckets(now);
            m_nextSweepMicros = now + kSweepPauseMicros;
        }
        fullAt = m_fullAt.size() < m_maxClients ? &m_fullAt.emplace(std::string(client), now).first->second
                                                : &m_sharedFullAt;
    }
    // Tokens missing now: (fullAt - now) / interval. One may be taken while at most burst - 1 are missing.
    const int64_t start = std::max(*fullAt, now);
    const int64_t allowedUntil = now + (static_cast<int64_t>(m_limit.burst) - 1) * m_intervalMicros;
    if (start > allowedUntil) {
        const int64_t wait = start - allowedUntil;
        return (wait + 999'999) / 1'000'000;
    }
    *fullAt = start + m_intervalMicros;
    return 0;
}

}  // namespace nimbo::service
