// The HTTP side of the service on libevent's evhttp: routes requests to the portable logic and answers.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "service/core/feed_cache.h"
#include "service/core/metrics.h"
#include "service/core/place_index.h"
#include "service/core/request.h"
#include "service/core/service_options.h"
#include "service/core/upstream_budget.h"
#include "service/server/upstream_fetcher.h"

struct evhttp;
struct evhttp_request;
struct event_base;

namespace nimbo::service {

class HttpService {
public:
    HttpService(event_base* base, const ServiceOptions& options, const PlaceIndex& places);
    ~HttpService();
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    // Binds the listening socket; returns the port it got (the asked one, or a free one for 0), or 0.
    int Listen(const std::string& host, int port);

private:
    struct Waiting {
        evhttp_request* request;
        FeedUnit unit;
        std::chrono::steady_clock::time_point arrived;
    };

    static void OnRequest(evhttp_request* request, void* self);
    void Handle(evhttp_request* request);
    void AnswerFeed(evhttp_request* request, const Request& parsed, std::chrono::steady_clock::time_point arrived);
    void OnUpstream(UpstreamResult result);
    void SendFeed(evhttp_request* request, FeedUnit unit, uint32_t place, bool fresh,
                  std::chrono::steady_clock::time_point arrived);
    void Send(evhttp_request* request, int status, const std::string& type, const std::string& body,
              const std::string& cacheControl, const std::string& route, std::chrono::steady_clock::time_point arrived);

    event_base* m_base;
    ServiceOptions m_options;
    const PlaceIndex& m_places;
    evhttp* m_http = nullptr;
    FeedCache m_cache;
    UpstreamBudget m_budget;
    Metrics m_metrics;
    std::unordered_map<uint32_t, ResolvedPlace> m_fetching;  // the place each running call is for
    std::unordered_map<uint32_t, std::vector<Waiting>> m_waiting;
    size_t m_waitingCount = 0;
    std::unique_ptr<UpstreamFetcher> m_fetcher;
};

}  // namespace nimbo::service
