// Per-client token buckets: each client address may make `burst` requests at once and then `perMinute` a
// minute, so one client cannot take the service (or its upstream budget) from the others.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace nimbo::service {

struct RateLimit {
    uint32_t perMinute = 60;  // 0: no limit
    uint32_t burst = 60;
};

class RateLimiter {
public:
    // At most `maxClients` buckets are kept; past that, the newest clients share one, which bounds memory
    // against a client that changes its address with every request.
    explicit RateLimiter(RateLimit limit, size_t maxClients = 100000);

    // 0 when `client` may go on (and its bucket pays one token); otherwise the whole seconds until it may,
    // for Retry-After. `nowMs` is a monotonic clock.
    int64_t Take(std::string_view client, int64_t nowMs);

    size_t clients() const { return m_fullAt.size(); }

private:
    void ForgetFullBuckets(int64_t nowMicros);

    RateLimit m_limit;
    size_t m_maxClients;
    int64_t m_intervalMicros;  // one token comes back in this time
    // A bucket is kept as the time it will be full again, which is all a token bucket needs; a bucket that
    // is full is the same as none.
    std::unordered_map<std::string, int64_t> m_fullAt;
    int64_t m_sharedFullAt = 0;
    int64_t m_nextSweepMicros = 0;
};

}  // namespace nimbo::service
