// The service's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "service/core/connection_table.h"
#include "service/core/feed_cache.h"
#include "service/core/feed_desk.h"
#include "service/core/rate_limiter.h"
#include "service/core/upstream_budget.h"

namespace nimbo::service {

struct ServiceOptions {
    std::string listenHost = "127.0.0.1";
    int listenPort = 8080;
    std::string upstream = "https://api.open-meteo.com/v1/forecast";
    int upstreamTimeoutSeconds = 10;
    std::string placesFile;
    std::string recordedFolder;  // recorded upstream answers instead of the upstream
    CachePolicy cache;
    BudgetLimits budget;
    DeskLimits desk;
    RateLimit feedRate{60, 60};                            // per client address
    RateLimit searchRate{30, 20};                          // per client address
    ConnectionLimits connections{0, 30000, 10000, 10000};  // maxConnections 0: from the descriptor limit
    std::string version = "1.60";
    std::vector<std::string> trustedProxies;
    bool help = false;
};

std::string OptionsHelp();

// Every option is checked and bounded; nothing on error, with the reason in `error`.
std::optional<ServiceOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace nimbo::service
