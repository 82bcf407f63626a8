// Answering requests: per-client limits first, then cached feeds straight from memory, one upstream call per
// place with bounded waits for it, and the small documents.
#include "service/server/http_service.h"

#include <cstdio>
#include <ctime>

#include <event2/event.h>

#include "service/core/client_address.h"
#include "service/core/pages.h"
#include "service/core/search_document.h"
#include "service/server/monotonic_clock.h"

namespace nimbo::service {
namespace {

constexpr const char* kXml = "text/xml; charset=UTF-8";
constexpr const char* kText = "text/plain; charset=UTF-8";
constexpr int64_t kStopGraceMs = 2000;  // for the last answers to leave; the whole stop stays within 5 s

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

const char* CacheOutcome(Freshness freshness) {
    switch (freshness) {
        case Freshness::Fresh:
            return "fresh";
        case Freshness::Stale:
            return "stale";
        case Freshness::Expired:
            return "expired";
        case Freshness::Missing:
            break;
    }
    return "miss";
}

// A refusal's label in the metrics and its log line.
std::pair<const char*, const char*> Describe(Refusal refusal) {
    switch (refusal) {
        case Refusal::BudgetForNewPlaces:
            return {"budget_new_places",
                    "the upstream budget for new places is spent; places not cached get 503 until it frees"};
        case Refusal::BudgetForRefreshes:
            return {"budget_refreshes",
                    "the whole upstream budget is spent; cached places get their last feed until it frees"};
        case Refusal::QueueFull:
            return {"queue_full", "the upstream queue is full; new places get 503 and cached ones their last feed"};
        case Refusal::None:
            break;
    }
    return {"none", ""};
}

const std::string& UnavailableFeed() {
    static const std::string feed =
        ErrorFeed("Weather not available", "The weather source cannot be reached; try again later.");
    return feed;
}

const std::string& TooManyRequestsFeed() {
    static const std::string feed = ErrorFeed("Too many requests", "Too many requests; try again later.");
    return feed;
}

const std::string& BadRequestFeed() {
    static const std::string feed = ErrorFeed("Bad request", "Invalid Input");
    return feed;
}

Response Plain(int status, const char* type, std::string_view body, const char* cacheControl) {
    Response response;
    response.status = status;
    response.contentType = type;
    response.body = body;
    response.cacheControl = cacheControl;
    return response;
}

}  // namespace

HttpService::HttpService(event_base* base, const ServiceOptions& options, const PlaceIndex& places)
    : m_options(options),
      m_places(places),
      m_server(base, options.connections, m_metrics,
               [this](ConnectionId connection, const RequestHead& head, const std::string& peer) {
                   Handle(connection, head, peer);
               }),
      m_desk(options.cache, options.budget, options.desk),
      m_feedLimiter(options.feedRate),
      m_searchLimiter(options.searchRate) {
    m_waitsOver = event_new(base, -1, 0, &HttpService::OnWaitsOver, this);
    m_fetcher = std::make_unique<UpstreamFetcher>(
        base, UpstreamSettings{options.upstream, options.upstreamTimeoutSeconds, options.recordedFolder},
        [this](UpstreamResult result) { OnUpstream(std::move(result)); });
}

HttpService::~HttpService() {
    m_fetcher.reset();
    event_free(m_waitsOver);
}

void HttpService::Send(ConnectionId connection, Response response, const char* route, Clock::time_point arrived) {
    const int status = response.status;
    m_server.Respond(connection, response);
    m_metrics.CountRequest(route, status, std::chrono::duration<double>(Clock::now() - arrived).count());
}

void HttpService::Handle(ConnectionId connection, const RequestHead& head, const std::string& peer) {
    const auto arrived = Clock::now();
    const Request parsed = ParseRequestTarget(head.target);
    const char* route = RouteName(parsed.route);
    if (parsed.route == Route::Feed || parsed.route == Route::Search) {
        // Past its limit a client costs nothing but this answer: no search, no upstream call.
        const std::string client = ClientAddress(peer, head.forwardedFor, m_options.trustedProxies);
        RateLimiter& limiter = parsed.route == Route::Feed ? m_feedLimiter : m_searchLimiter;
        if (const int64_t retryAfter = limiter.Take(client, MonotonicMs())) {
            Response response = parsed.route == Route::Feed ? Plain(429, kXml, TooManyRequestsFeed(), "no-store")
                                                            : Plain(429, kText, "Too many requests\n", "no-store");
            response.headers.emplace_back("Retry-After", std::to_string(retryAfter));
            Send(connection, std::move(response), route, arrived);
            return;
        }
    }
    switch (parsed.route) {
        case Route::Feed:
            AnswerFeed(connection, head, parsed, arrived);
            return;
        case Route::Search: {
            const std::string body =
                SearchDocument(m_places, m_places.Search(parsed.query),
                               parsed.windows1254 ? DocumentEncoding::Windows1254 : DocumentEncoding::Utf8);
            Send(
                connection,
                Plain(200, parsed.windows1254 ? "text/xml; charset=windows-1254" : kXml, body, "public, max-age=86400"),
                route, arrived);
            return;
        }
        case Route::Version: {
            const std::string body = VersionDocument(m_options.version);
            Send(connection, Plain(200, kXml, body, "public, max-age=3600"), route, arrived);
            return;
        }
        case Route::Address: {
            const std::string body = AddressDocument(ClientAddress(peer, head.forwardedFor, m_options.trustedProxies));
            Send(connection, Plain(200, kXml, body, "no-store"), route, arrived);
            return;
        }
        case Route::IndexPage: {
            const std::string body = IndexPage(m_options.version);
            Send(connection, Plain(200, "text/html; charset=UTF-8", body, "public, max-age=3600"), route, arrived);
            return;
        }
        case Route::ProjectsPage: {
            const std::string body = ProjectsPage();
            Send(connection, Plain(200, "text/html; charset=UTF-8", body, "public, max-age=3600"), route, arrived);
            return;
        }
        case Route::Health:
            Send(connection, Plain(200, kText, "ok\n", "no-store"), route, arrived);
            return;
        case Route::Metrics: {
            const std::string body = RenderMetrics();
            Send(connection, Plain(200, "text/plain; version=0.0.4; charset=UTF-8", body, "no-store"), route, arrived);
            return;
        }
        case Route::NotFound:
            Send(connection, Plain(404, kText, "Not found\n", "public, max-age=3600"), route, arrived);
            return;
        case Route::BadRequest:
            Send(connection, Plain(400, kXml, BadRequestFeed(), "no-store"), route, arrived);
            return;
    }
}

std::string HttpService::RenderMetrics() {
    const std::map<std::string, double> gauges{
        {"nimbo_cached_places", static_cast<double>(m_desk.cache().size())},
        {"nimbo_indexed_places", static_cast<double>(m_places.size())},
        {"nimbo_waiting_requests", static_cast<double>(m_desk.waiting())},
        {"nimbo_upstream_calls_pending", static_cast<double>(m_desk.calls())},
        {"nimbo_upstream_budget_used_24h", static_cast<double>(m_desk.BudgetUsedToday(Now()))},
        {"nimbo_open_connections", static_cast<double>(m_server.open())},
        {"nimbo_connection_limit", static_cast<double>(m_server.cap())}};
    return m_metrics.Render(gauges);
}

void HttpService::AnswerFeed(ConnectionId connection, const RequestHead& head, const Request& parsed,
                             Clock::time_point arrived) {
    const auto place = m_places.Resolve(parsed.placeId);
    if (!place) {
        // As the old service said it; the id and unit have passed validation.
        const std::string path =
            "/forecastrss/" + parsed.placeId + (parsed.unit == FeedUnit::Celsius ? "_c" : "_f") + ".xml";
        const std::string body = ErrorFeed("City not found", "Invalid Input " + path);
        Send(connection, Plain(404, kXml, body, "public, max-age=600"), "feed", arrived);
        return;
    }
    const FeedDecision decision = m_desk.Ask(place->geonameId, parsed.unit, connection, Now(), MonotonicMs());
    m_metrics.CountCache(CacheOutcome(decision.found));
    if (decision.refusal != Refusal::None) {
        const auto [label, line] = Describe(decision.refusal);
        m_metrics.CountUpstreamRefusal(label);
        if (decision.refusalStarts) Log("WARN", line);
    }
    if (decision.fetch) {
        m_fetching[place->geonameId] = *place;
        m_fetcher->Fetch(place->geonameId, ForecastQuery(place->feed.Latitude, place->feed.Longitude));
    }
    switch (decision.answer) {
        case FeedAnswer::Fresh:
        case FeedAnswer::Stale:
            SendFeed(connection, parsed.unit, place->geonameId, decision.answer == FeedAnswer::Fresh, head.ifNoneMatch,
                     head.ifModifiedSince, arrived);
            return;
        case FeedAnswer::Wait:
            m_waiting[connection] = {head.ifNoneMatch, head.ifModifiedSince, arrived};
            RearmWaits();
            return;
        case FeedAnswer::Unavailable:
            SendUnavailable(connection, arrived);
            return;
    }
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
    if (!result.ok) Log("WARN", "upstream failed for place " + std::to_string(result.place) + ": " + result.error);
    const std::vector<Waiter> waiters =
        m_desk.Finished(result.place, result.ok ? std::optional(std::move(feeds)) : std::nullopt, now);
    for (const Waiter& waiter : waiters) AnswerWaiter(waiter);
    RearmWaits();
}

void HttpService::AnswerWaiter(const Waiter& waiter) {
    const auto it = m_waiting.find(waiter.ticket);
    if (it == m_waiting.end()) return;
    const Waiting waiting = std::move(it->second);
    m_waiting.erase(it);
    const Freshness freshness = m_desk.Find(waiter.place, waiter.unit, Now()).freshness;
    if (freshness == Freshness::Fresh || freshness == Freshness::Stale) {
        SendFeed(waiter.ticket, waiter.unit, waiter.place, freshness == Freshness::Fresh, waiting.ifNoneMatch,
                 waiting.ifModifiedSince, waiting.arrived);
    } else {
        SendUnavailable(waiter.ticket, waiting.arrived);
    }
}

void HttpService::RearmWaits() {
    const std::optional<int64_t> next = m_desk.NextExpiry();
    if (!next) {
        event_del(m_waitsOver);
        return;
    }
    const int64_t ms = std::max<int64_t>(*next - MonotonicMs(), 0);
    const timeval interval{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
    event_add(m_waitsOver, &interval);
}

void HttpService::OnWaitsOver(int, short, void* self) {
    auto& service = *static_cast<HttpService*>(self);
    for (const Waiter& waiter : service.m_desk.Expired(MonotonicMs())) {
        service.m_metrics.CountWaitOver();
        service.AnswerWaiter(waiter);
    }
    service.RearmWaits();
}

void HttpService::Stop(std::function<void()> stopped) {
    m_server.Stop(kStopGraceMs, std::move(stopped));
    m_fetcher->Stop();
    for (const Waiter& waiter : m_desk.TakeAll()) AnswerWaiter(waiter);
    event_del(m_waitsOver);
}

void HttpService::SendUnavailable(ConnectionId connection, Clock::time_point arrived) {
    Send(connection, Plain(503, kXml, UnavailableFeed(), "no-store"), "feed", arrived);
}

void HttpService::SendFeed(ConnectionId connection, FeedUnit unit, uint32_t place, bool fresh,
                           const std::string& ifNoneMatch, const std::string& ifModifiedSince,
                           Clock::time_point arrived) {
    const int64_t now = Now();
    const CachedFeed& feed = *m_desk.Find(place, unit, now).feed;
    const int64_t left = fresh ? m_desk.cache().policy().freshSeconds - (now - feed.builtAt) : 60;
    const std::string lastModified = HttpDate(feed.builtAt);
    const bool notModified = !ifNoneMatch.empty() ? ifNoneMatch.find(feed.etag) != std::string::npos
                                                  : !ifModifiedSince.empty() && lastModified == ifModifiedSince;
    Response response = Plain(notModified ? 304 : 200, kXml, feed.body, "");
    response.cacheControl = "public, max-age=" + std::to_string(left > 0 ? left : 0);
    response.headers.emplace_back("ETag", feed.etag);
    response.headers.emplace_back("Last-Modified", lastModified);
    Send(connection, std::move(response), "feed", arrived);
}

}  // namespace nimbo::service
