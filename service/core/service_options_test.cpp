// The command line's new limits: their defaults, their bounds, and seconds with decimals.
#include "service/core/service_options.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

std::optional<ServiceOptions> Parse(std::vector<std::string> args) {
    std::string error;
    return ParseOptions(args, error);
}

TEST(ServiceOptions, LimitsAndWaitsAreReadAndBounded) {
    const auto defaults = Parse({});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->budget.refreshSharePercent, 33u);
    EXPECT_EQ(defaults->desk.fetchWaitMs, 5000);
    EXPECT_EQ(defaults->connections.requestMs, 10000);
    EXPECT_EQ(defaults->connections.maxConnections, 0u);  // decided from the descriptor limit

    const auto options = Parse({"--fetch-wait", "2.5", "--stale-wait", "0", "--feed-rate", "0", "--search-burst", "5",
                                "--request-timeout", "3", "--max-connections", "100", "--refresh-share", "50"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->desk.fetchWaitMs, 2500);
    EXPECT_EQ(options->desk.staleWaitMs, 0);
    EXPECT_EQ(options->feedRate.perMinute, 0u);
    EXPECT_EQ(options->searchRate.burst, 5u);
    EXPECT_EQ(options->connections.requestMs, 3000);
    EXPECT_EQ(options->connections.writeMs, 3000);
    EXPECT_EQ(options->connections.maxConnections, 100u);
    EXPECT_EQ(options->budget.refreshSharePercent, 50u);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--fetch-wait", ".5"},
                                                {"--fetch-wait", "1.2345"},
                                                {"--stale-wait", "61"},
                                                {"--fetch-wait", "1."},
                                                {"--refresh-share", "91"},
                                                {"--feed-burst", "0"},
                                                {"--request-timeout", "0"}})
        EXPECT_FALSE(Parse(bad)) << bad[0] << " " << bad[1];
}

}  // namespace
}  // namespace nimbo::service
