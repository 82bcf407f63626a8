// The service's answers: routes each request to the portable logic (limits, the feed desk, the search, the
// small documents) and sends what it decides through the HTTP server.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "service/core/feed_desk.h"
#include "service/core/metrics.h"
#include "service/core/place_index.h"
#include "service/core/rate_limiter.h"
#include "service/core/request.h"
#include "service/core/service_options.h"
#include "service/server/http_server.h"
#include "service/server/upstream_fetcher.h"

struct event;
struct event_base;

namespace nimbo::service {

class HttpService {
public:
    // `options.connections.maxConnections` is the cap already decided (see ConnectionCap).
    HttpService(event_base* base, const ServiceOptions& options, const PlaceIndex& places);
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds the listening socket; returns the port it got (the asked one, or a free one for 0), or 0.
    int Listen(const std::string& host, int port) { return m_server.Listen(host, port); }

    // Stops accepting, aborts the upstream calls, answers every waiting request (stale feed or 503) and runs
    // `stopped` once the answers are out or a short grace is over.
    void Stop(std::function<void()> stopped);

private:
    using Clock = std::chrono::steady_clock;
    using ConnectionId = HttpServer::ConnectionId;

    // What a waiting feed request needs for its answer later.
    struct Waiting {
        std::string ifNoneMatch;
        std::string ifModifiedSince;
        Clock::time_point arrived;
    };

    void Handle(ConnectionId connection, const RequestHead& head, const std::string& peer);
    void AnswerFeed(ConnectionId connection, const RequestHead& head, const Request& parsed, Clock::time_point arrived);
    void OnUpstream(UpstreamResult result);
    void AnswerWaiter(const Waiter& waiter);
    void RearmWaits();
    static void OnWaitsOver(int, short, void* self);
    void SendFeed(ConnectionId connection, FeedUnit unit, uint32_t place, bool fresh, const std::string& ifNoneMatch,
                  const std::string& ifModifiedSince, Clock::time_point arrived);
    void SendUnavailable(ConnectionId connection, Clock::time_point arrived);
    void Send(ConnectionId connection, Response response, const char* route, Clock::time_point arrived);
    std::string RenderMetrics();

    ServiceOptions m_options;
    const PlaceIndex& m_places;
    Metrics m_metrics;
    HttpServer m_server;
    FeedDesk m_desk;
    RateLimiter m_feedLimiter;
    RateLimiter m_searchLimiter;
    std::unordered_map<uint32_t, ResolvedPlace> m_fetching;  // the place each running call is for
    std::unordered_map<ConnectionId, Waiting> m_waiting;
    event* m_waitsOver = nullptr;
    std::unique_ptr<UpstreamFetcher> m_fetcher;
};

}  // namespace nimbo::service
