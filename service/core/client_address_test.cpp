// Who the caller is, and what a client or a proxy may claim about it; the command line's bounds.
#include "service/core/client_address.h"

#include <gtest/gtest.h>

#include "service/core/service_options.h"

namespace nimbo::service {
namespace {

TEST(ClientAddress, ForwardedForCountsOnlyFromTrustedProxies) {
    const std::vector<std::string> trusted = {"127.0.0.1", "10.0.0.2"};
    struct Case {
        const char* peer;
        const char* forwarded;
        const char* client;
    } cases[] = {
        {"203.0.113.9", "1.2.3.4", "203.0.113.9"},  // a client's own header is ignored
        {"127.0.0.1", "198.51.100.7", "198.51.100.7"},
        {"127.0.0.1", "6.6.6.6, 198.51.100.7", "198.51.100.7"},   // the proxy's own entry is the last
        {"127.0.0.1", "198.51.100.7, 10.0.0.2", "198.51.100.7"},  // through two proxies
        {"127.0.0.1", "", "127.0.0.1"},
        {"127.0.0.1", "<script>, ", "127.0.0.1"},
        {"127.0.0.1", "2001:db8::1", "2001:db8::1"},
    };
    for (const Case& c : cases) EXPECT_EQ(ClientAddress(c.peer, c.forwarded, trusted), c.client) << c.forwarded;
}

TEST(ServiceOptions, ReadsAndBoundsEveryOption) {
    std::string error;
    const auto options = ParseOptions({"--listen", "0.0.0.0:9000", "--budget-minute", "100", "--trusted-proxy",
                                       "127.0.0.1", "--fresh", "60", "--stale", "30"},
                                      error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->listenHost, "0.0.0.0");
    EXPECT_EQ(options->listenPort, 9000);
    EXPECT_EQ(options->budget.perMinute, 100u);
    EXPECT_EQ(options->cache.staleSeconds, 60);  // never shorter than fresh
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--listen", "9000"},
                                                                                     {"--listen", "host:99999"},
                                                                                     {"--budget-minute", "601"},
                                                                                     {"--budget-day", "10001"},
                                                                                     {"--upstream", "ftp://x"},
                                                                                     {"--upstream", "https://x/?a=1"},
                                                                                     {"--trusted-proxy", "proxy"},
                                                                                     {"--fresh"},
                                                                                     {"--bogus", "1"}}) {
        error.clear();
        EXPECT_FALSE(ParseOptions(bad, error)) << bad[0];
        EXPECT_NE(error, "");
    }
}

}  // namespace
}  // namespace nimbo::service
