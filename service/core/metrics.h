// What an operator watches: requests by route and status, cache hits, upstream calls and failures, latencies.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace nimbo::service {

class Metrics {
public:
    void CountRequest(const std::string& route, int status, double seconds);
    void CountCache(const char* outcome);  // "fresh", "stale", "miss", "expired"
    void CountUpstream(bool ok, double seconds);
    // Why an upstream call that was needed was not made: "budget_new_places", "budget_refreshes", "queue_full".
    void CountUpstreamRefusal(const char* reason) { ++m_upstreamRefusals[reason]; }
    // Why the service closed a connection itself: "refused", "shed", "idle", "request_deadline", "write_deadline".
    void CountConnectionClosed(const char* reason) { ++m_connectionsClosed[reason]; }
    void CountAcceptPause() { ++m_acceptPauses; }
    void CountWaitOver() { ++m_waitsOver; }

    // The Prometheus text exposition format; `gauges` are added as they are.
    std::string Render(const std::map<std::string, double>& gauges) const;

private:
    static constexpr std::array<double, 10> kBuckets{0.0005, 0.001, 0.0025, 0.005, 0.01, 0.05, 0.25, 1, 5, 15};
    struct Histogram {
        std::array<uint64_t, kBuckets.size()> counts{};
        uint64_t total = 0;
        double sum = 0;
        void Observe(double seconds);
    };

    std::map<std::pair<std::string, int>, uint64_t> m_requests;
    std::map<std::string, Histogram> m_requestSeconds;
    std::map<std::string, uint64_t> m_cache;
    uint64_t m_upstreamCalls = 0;
    uint64_t m_upstreamFailures = 0;
    std::map<std::string, uint64_t> m_upstreamRefusals;
    std::map<std::string, uint64_t> m_connectionsClosed;
    uint64_t m_acceptPauses = 0;
    uint64_t m_waitsOver = 0;
    Histogram m_upstreamSeconds;
};

}  // namespace nimbo::service
