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

void WriteCounter(std::ostringstream& out, const char* name, const char* help, uint64_t count) {
    out << "# HELP " << name << " " << help << "\n# TYPE " << name << " counter\n" << name << " " << count << "\n";
}

void WriteCounters(std::ostringstream& out, const char* name, const char* help, const char* label,
                   const std::map<std::string, uint64_t>& counts) {
    out << "# HELP " << name << " " << help << "\n# TYPE " << name << " counter\n";
    for (const auto& [value, count] : counts) out << name << "{" << label << "=\"" << value << "\"} " << count << "\n";
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
    WriteCounters(out, "nimbo_feed_cache_total", "Feed requests by what the cache held.", "outcome", m_cache);
    WriteCounter(out, "nimbo_upstream_calls_total", "Calls to the forecast upstream.", m_upstreamCalls);
    WriteCounter(out, "nimbo_upstream_failures_total", "Upstream calls without a usable answer.", m_upstreamFailures);
    WriteCounters(out, "nimbo_upstream_refusals_total",
                  "Upstream calls not made: budget spent (for new places or for all), or the queue full.", "reason",
                  m_upstreamRefusals);
    WriteCounter(out, "nimbo_feed_waits_over_total",
                 "Feed requests answered when their wait for an upstream call ran out.", m_waitsOver);
    WriteCounters(out, "nimbo_connections_closed_total",
                  "Connections the service closed: refused or shed at the cap, or past a deadline.", "reason",
                  m_connectionsClosed);
    WriteCounter(out, "nimbo_accept_pauses_total", "Times accepting stopped for a moment after accept() failed.",
                 m_acceptPauses);
    out << "# HELP nimbo_upstream_seconds Duration of upstream calls.\n"
        << "# TYPE nimbo_upstream_seconds histogram\n";
    WriteHistogram(out, "nimbo_upstream_seconds", "", kBuckets, m_upstreamSeconds.counts, m_upstreamSeconds.total,
                   m_upstreamSeconds.sum);
    for (const auto& [name, value] : gauges) out << "# TYPE " << name << " gauge\n" << name << " " << value << "\n";
    return out.str();
}

}  // namespace nimbo::service
