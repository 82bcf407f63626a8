// Counting and the Prometheus text format.
#include "service/core/metrics.h"

#include <sstream>

namespace nimbo::service {
namespace {

void WriteHistogram(std::ostringstream& out, const std::string& name, const std::string& labels,
                    const std::array<double, 10>& buckets, const std::array<uint64_t, 10>& counts, uint64_t total,
                    double sum) {
    const std::string separator = labels.empty() ? "" : ",";
    uint64_t cumulative = 0;
    for (size_t i = 0; i < buckets.size(); ++i) {
        cumulative += counts[i];
        out << name << "_bucket{" << labels << separator << "le=\"" << buckets[i] << "\"} " << cumulative << "\n";
    }
    out << name << "_bucket{" << labels << separator << "le=\"+Inf\"} " << total << "\n";
    const std::string braces = labels.empty() ? "" : "{" + labels + "}";
    out << name << "_sum" << braces << " " << sum << "\n" << name << "_count" << braces << " " << total << "\n";
}

}  // namespace

void Metrics::Histogram::Observe(double seconds) {
    for (size_t i = 0; i < kBuckets.size(); ++i) {
        if (seconds <= kBuckets[i]) {
            ++counts[i];
            break;
        }
    }
    ++total;
    sum += seconds;
}

void Metrics::CountRequest(const std::string& route, int status, double seconds) {
    ++m_requests[{route, status}];
    m_requestSeconds[route].Observe(seconds);
}

void Metrics::CountCache(const char* outcome) { ++m_cache[outcome]; }

void Metrics::CountUpstream(bool ok, double seconds) {
    ++m_upstreamCalls;
    if (!ok) ++m_upstreamFailures;
    m_upstreamSeconds.Observe(seconds);
}

std::string Metrics::Render(const std::map<std::string, double>& gauges) const {
    std::ostringstream out;
    out << "# HELP nimbo_requests_total Requests answered, by route and status.\n"
        << "# TYPE nimbo_requests_total counter\n";
    for (const auto& [key, count] : m_requests)
        out << "nimbo_requests_total{route=\"" << key.first << "\",status=\"" << key.second << "\"} " << count << "\n";
    out << "# HELP nimbo_request_seconds Time from a request's arrival to its answer.\n"
        << "# TYPE nimbo_request_seconds histogram\n";
    for (const auto& [route, h] : m_requestSeconds)
        WriteHistogram(out, "nimbo_request_seconds", "route=\"" + route + "\"", kBuckets, h.counts, h.total, h.sum);
    out << "# HELP nimbo_feed_cache_total Feed requests by what the cache held.\n"
        << "# TYPE nimbo_feed_cache_total counter\n";
    for (const auto& [outcome, count] : m_cache)
        out << "nimbo_feed_cache_total{outcome=\"" << outcome << "\"} " << count << "\n";
    out << "# HELP nimbo_upstream_calls_total Calls to the forecast upstream.\n"
        << "# TYPE nimbo_upstream_calls_total counter\nnimbo_upstream_calls_total " << m_upstreamCalls << "\n"
        << "# HELP nimbo_upstream_failures_total Upstream calls without a usable answer.\n"
        << "# TYPE nimbo_upstream_failures_total counter\nnimbo_upstream_failures_total " << m_upstreamFailures << "\n"
        << "# HELP nimbo_upstream_refusals_total Upstream calls not made: budget spent (for new places or for all), "
           "or the queue full.\n"
        << "# TYPE nimbo_upstream_refusals_total counter\n";
    for (const auto& [reason, count] : m_upstreamRefusals)
        out << "nimbo_upstream_refusals_total{reason=\"" << reason << "\"} " << count << "\n";
    out << "# HELP nimbo_feed_waits_over_total Feed requests answered when their wait for an upstream call ran out.\n"
        << "# TYPE nimbo_feed_waits_over_total counter\nnimbo_feed_waits_over_total " << m_waitsOver << "\n"
        << "# HELP nimbo_connections_closed_total Connections the service closed: refused or shed at the cap, "
           "or past a deadline.\n"
        << "# TYPE nimbo_connections_closed_total counter\n";
    for (const auto& [reason, count] : m_connectionsClosed)
        out << "nimbo_connections_closed_total{reason=\"" << reason << "\"} " << count << "\n";
    out << "# HELP nimbo_accept_pauses_total Times accepting stopped for a moment after accept() failed.\n"
        << "# TYPE nimbo_accept_pauses_total counter\nnimbo_accept_pauses_total " << m_acceptPauses << "\n"
        << "# HELP nimbo_upstream_seconds Duration of upstream calls.\n"
        << "# TYPE nimbo_upstream_seconds histogram\n";
    WriteHistogram(out, "nimbo_upstream_seconds", "", kBuckets, m_upstreamSeconds.counts, m_upstreamSeconds.total,
                   m_upstreamSeconds.sum);
    for (const auto& [name, value] : gauges) out << "# TYPE " << name << " gauge\n" << name << " " << value << "\n";
    return out.str();
}

}  // namespace nimbo::service
