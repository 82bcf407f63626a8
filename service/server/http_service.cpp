// Answering requests: cached feeds straight from memory, one upstream call per place, stale answers while
// the upstream fails, and the small documents.
#include "service/server/http_service.h"

#include <cstdio>
#include <ctime>

#include <event2/buffer.h>
#include <event2/http.h>
#include <event2/listener.h>
#include <event2/util.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "service/core/client_address.h"
#include "service/core/pages.h"
#include "service/core/search_document.h"

namespace nimbo::service {
namespace {

constexpr size_t kMaxWaiting = 10000;  // requests parked on upstream calls, all places together
constexpr const char* kXml = "text/xml; charset=UTF-8";

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

void Log(const char* level, const std::string& message) { std::fprintf(stderr, "%s %s\n", level, message.c_str()); }

const char* RouteName(Route route) {
    switch (route) {
        case Route::Feed:
            return "feed";
        case Route::Search:
            return "search";
        case Route::Version:
            return "version";
        case Route::Address:
            return "address";
        case Route::IndexPage:
        case Route::ProjectsPage:
            return "page";
        case Route::Health:
            return "healthz";
        case Route::Metrics:
            return "metrics";
        case Route::NotFound:
            return "not_found";
        case Route::BadRequest:
            return "bad_request";
    }
    return "other";
}

const std::string& UnavailableFeed() {
    static const std::string feed =
        ErrorFeed("Weather not available", "The weather source cannot be reached; try again later.");
    return feed;
}

const std::string& BadRequestFeed() {
    static const std::string feed = ErrorFeed("Bad request", "Invalid Input");
    return feed;
}

}  // namespace

HttpService::HttpService(event_base* base, const ServiceOptions& options, const PlaceIndex& places)
    : m_base(base), m_options(options), m_places(places), m_cache(options.cache), m_budget(options.budget) {
    m_http = evhttp_new(base);
    evhttp_set_allowed_methods(m_http, EVHTTP_REQ_GET | EVHTTP_REQ_HEAD);
    evhttp_set_max_headers_size(m_http, 16 * 1024);
    evhttp_set_max_body_size(m_http, 4 * 1024);
    evhttp_set_timeout(m_http, 30);
    evhttp_set_gencb(m_http, &HttpService::OnRequest, this);
    m_fetcher = std::make_unique<UpstreamFetcher>(
        base, UpstreamSettings{options.upstream, options.upstreamTimeoutSeconds, options.recordedFolder},
        [this](UpstreamResult result) { OnUpstream(std::move(result)); });
}

HttpService::~HttpService() {
    m_fetcher.reset();
    evhttp_free(m_http);
}

int HttpService::Listen(const std::string& host, int port) {
    evhttp_bound_socket* socket = evhttp_bind_socket_with_handle(m_http, host.c_str(), static_cast<uint16_t>(port));
    if (!socket) return 0;
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (getsockname(evhttp_bound_socket_get_fd(socket), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

void HttpService::OnRequest(evhttp_request* request, void* self) { static_cast<HttpService*>(self)->Handle(request); }

void HttpService::Send(evhttp_request* request, int status, const std::string& type, const std::string& body,
                       const std::string& cacheControl, const std::string& route,
                       std::chrono::steady_clock::time_point arrived) {
    evkeyvalq* headers = evhttp_request_get_output_headers(request);
    evhttp_add_header(headers, "Content-Type", type.c_str());
    evhttp_add_header(headers, "Cache-Control", cacheControl.c_str());
    evbuffer* buffer = evbuffer_new();
    evbuffer_add(buffer, body.data(), body.size());
    const char* reason = status == 200   ? "OK"
                         : status == 304 ? "Not Modified"
                         : status == 400 ? "Bad Request"
                         : status == 404 ? "Not Found"
                         : status == 503 ? "Service Unavailable"
                                         : "Error";
    evhttp_send_reply(request, status, reason, status == 304 ? nullptr : buffer);
    evbuffer_free(buffer);
    m_metrics.CountRequest(route, status,
                           std::chrono::duration<double>(std::chrono::steady_clock::now() - arrived).count());
}

void HttpService::Handle(evhttp_request* request) {
    const auto arrived = std::chrono::steady_clock::now();
    const char* uri = evhttp_request_get_uri(request);
    const Request parsed = ParseRequestTarget(uri ? uri : "");
    const std::string route = RouteName(parsed.route);
    switch (parsed.route) {
        case Route::Feed:
            AnswerFeed(request, parsed, arrived);
            return;
        case Route::Search: {
            const std::string body =
                SearchDocument(m_places, m_places.Search(parsed.query),
                               parsed.windows1254 ? DocumentEncoding::Windows1254 : DocumentEncoding::Utf8);
            Send(request, 200, parsed.windows1254 ? "text/xml; charset=windows-1254" : kXml, body,
                 "public, max-age=86400", route, arrived);
            return;
        }
        case Route::Version:
            Send(request, 200, kXml, VersionDocument(m_options.version), "public, max-age=3600", route, arrived);
            return;
        case Route::Address: {
            char* peer = nullptr;
            uint16_t port = 0;
            evhttp_connection_get_peer(evhttp_request_get_connection(request), &peer, &port);
            const char* forwarded = evhttp_find_header(evhttp_request_get_input_headers(request), "X-Forwarded-For");
            const std::string address =
                ClientAddress(peer ? peer : "", forwarded ? forwarded : "", m_options.trustedProxies);
            Send(request, 200, kXml, AddressDocument(address), "no-store", route, arrived);
            return;
        }
        case Route::IndexPage:
            Send(request, 200, "text/html; charset=UTF-8", IndexPage(m_options.version), "public, max-age=3600", route,
                 arrived);
            return;
        case Route::ProjectsPage:
            Send(request, 200, "text/html; charset=UTF-8", ProjectsPage(), "public, max-age=3600", route, arrived);
            return;
        case Route::Health:
            Send(request, 200, "text/plain; charset=UTF-8", "ok\n", "no-store", route, arrived);
            return;
        case Route::Metrics: {
            const std::map<std::string, double> gauges{
                {"nimbo_cached_places", static_cast<double>(m_cache.size())},
                {"nimbo_indexed_places", static_cast<double>(m_places.size())},
                {"nimbo_waiting_requests", static_cast<double>(m_waitingCount)},
                {"nimbo_upstream_budget_used_24h", static_cast<double>(m_budget.UsedToday(Now()))}};
            Send(request, 200, "text/plain; version=0.0.4; charset=UTF-8", m_metrics.Render(gauges), "no-store", route,
                 arrived);
            return;
        }
        case Route::NotFound:
            Send(request, 404, "text/plain; charset=UTF-8", "Not found\n", "public, max-age=3600", route, arrived);
            return;
        case Route::BadRequest:
            Send(request, 400, kXml, BadRequestFeed(), "no-store", route, arrived);
            return;
    }
}

void HttpService::AnswerFeed(evhttp_request* request, const Request& parsed,
                             std::chrono::steady_clock::time_point arrived) {
    const auto place = m_places.Resolve(parsed.placeId);
    if (!place) {
        // As the old service said it; the id and unit have passed validation.
        const std::string path =
            "/forecastrss/" + parsed.placeId + (parsed.unit == FeedUnit::Celsius ? "_c" : "_f") + ".xml";
        Send(request, 404, kXml, ErrorFeed("City not found", "Invalid Input " + path), "public, max-age=600", "feed",
             arrived);
        return;
    }
    const int64_t now = Now();
    const FeedCache::Found found = m_cache.Find(place->geonameId, parsed.unit, now);
    if (found.freshness == Freshness::Fresh) {
        m_metrics.CountCache("fresh");
        SendFeed(request, parsed.unit, place->geonameId, true, arrived);
        return;
    }
    m_metrics.CountCache(found.freshness == Freshness::Missing ? "miss"
                         : found.freshness == Freshness::Stale ? "stale"
                                                               : "expired");
    const bool room = m_waitingCount < kMaxWaiting;
    const bool running = room && m_cache.Fetching(place->geonameId);
    bool canStart = room && !running && m_cache.ShouldFetch(place->geonameId, now);
    if (canStart && !m_budget.TryTake(now)) {
        m_metrics.CountBudgetRefusal();
        Log("WARN", "upstream budget spent; not asking for place " + std::to_string(place->geonameId));
        // Counts as a failed call: the place waits like after one, instead of asking again at once.
        m_cache.FetchFailed(place->geonameId, now);
        canStart = false;
    }
    if (running || canStart) {
        if (canStart) {
            m_cache.FetchStarted(place->geonameId);
            m_fetching[place->geonameId] = *place;
            m_fetcher->Fetch(place->geonameId, ForecastQuery(place->feed.Latitude, place->feed.Longitude));
        }
        m_waiting[place->geonameId].push_back({request, parsed.unit, arrived});
        ++m_waitingCount;
        return;
    }
    if (found.freshness == Freshness::Stale) {
        SendFeed(request, parsed.unit, place->geonameId, false, arrived);
        return;
    }
    Send(request, 503, kXml, UnavailableFeed(), "no-store", "feed", arrived);
}

void HttpService::OnUpstream(UpstreamResult result) {
    const int64_t now = Now();
    const auto fetching = m_fetching.find(result.place);
    if (fetching == m_fetching.end()) return;
    const ResolvedPlace place = fetching->second;
    m_fetching.erase(fetching);

    std::array<CachedFeed, 2> feeds;
    if (result.ok) {
        for (const FeedUnit unit : {FeedUnit::Celsius, FeedUnit::Fahrenheit}) {
            // The cache entry serves every id of the place; the feed names the GeoNames id.
            FeedPlace feedPlace = place.feed;
            feedPlace.Id = std::to_string(place.geonameId);
            const FeedResult feed = OpenMeteoToFeed(result.body, feedPlace, unit, now);
            if (!feed.Error.empty()) {
                result.ok = false;
                result.error = feed.Error;
                break;
            }
            CachedFeed& cached = feeds[unit == FeedUnit::Celsius ? 0 : 1];
            cached.body = feed.Feed;
            cached.etag = EntityTag(feed.Feed);
            cached.builtAt = now;
        }
    }
    m_metrics.CountUpstream(result.ok, result.seconds);
    if (result.ok) {
        m_cache.FetchSucceeded(result.place, std::move(feeds), now);
    } else {
        m_cache.FetchFailed(result.place, now);
        Log("WARN", "upstream failed for place " + std::to_string(result.place) + ": " + result.error);
    }

    std::vector<Waiting> waiting;
    if (const auto it = m_waiting.find(result.place); it != m_waiting.end()) {
        waiting.swap(it->second);
        m_waiting.erase(it);
    }
    m_waitingCount -= waiting.size();
    for (const Waiting& w : waiting) {
        const FeedCache::Found found = m_cache.Find(result.place, w.unit, now);
        if (found.freshness == Freshness::Fresh || found.freshness == Freshness::Stale) {
            SendFeed(w.request, w.unit, result.place, found.freshness == Freshness::Fresh, w.arrived);
        } else {
            Send(w.request, 503, kXml, UnavailableFeed(), "no-store", "feed", w.arrived);
        }
    }
}

void HttpService::SendFeed(evhttp_request* request, FeedUnit unit, uint32_t place, bool fresh,
                           std::chrono::steady_clock::time_point arrived) {
    const FeedCache::Found found = m_cache.Find(place, unit, Now());
    const CachedFeed& feed = *found.feed;
    evkeyvalq* headers = evhttp_request_get_output_headers(request);
    evhttp_add_header(headers, "ETag", feed.etag.c_str());
    evhttp_add_header(headers, "Last-Modified", HttpDate(feed.builtAt).c_str());
    const int64_t left = fresh ? m_cache.policy().freshSeconds - (Now() - feed.builtAt) : 60;
    const std::string cacheControl = "public, max-age=" + std::to_string(left > 0 ? left : 0);
    const evkeyvalq* input = evhttp_request_get_input_headers(request);
    const char* ifNoneMatch = evhttp_find_header(input, "If-None-Match");
    const char* ifModifiedSince = evhttp_find_header(input, "If-Modified-Since");
    const bool notModified = ifNoneMatch ? std::string(ifNoneMatch).find(feed.etag) != std::string::npos
                                         : ifModifiedSince && HttpDate(feed.builtAt) == ifModifiedSince;
    Send(request, notModified ? 304 : 200, kXml, feed.body, cacheControl, "feed", arrived);
}

}  // namespace nimbo::service
