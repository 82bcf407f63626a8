// Per-client buckets: bursts, the rate after them, Retry-After, and the bound on remembered clients.
#include "service/core/rate_limiter.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

TEST(RateLimiter, ABurstThenTheRateForEachClientAlone) {
    RateLimiter limiter({60, 3});  // one a second after three at once
    for (int i = 0; i < 3; ++i) EXPECT_EQ(limiter.Take("192.0.2.1", 0), 0);
    EXPECT_EQ(limiter.Take("192.0.2.1", 0), 1);  // Retry-After: 1
    EXPECT_EQ(limiter.Take("192.0.2.2", 0), 0);  // another client has its own bucket
    EXPECT_EQ(limiter.Take("192.0.2.1", 999), 1);
    EXPECT_EQ(limiter.Take("192.0.2.1", 1000), 0);  // one token back after a second
    EXPECT_EQ(limiter.Take("192.0.2.1", 1000), 1);
    // Refused requests cost nothing: a client that keeps asking is not pushed further back.
    for (int i = 0; i < 100; ++i) limiter.Take("192.0.2.1", 1500);
    EXPECT_EQ(limiter.Take("192.0.2.1", 2000), 0);
    // After a long pause the bucket is full again, never fuller.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(limiter.Take("192.0.2.1", 60000), 0);
    EXPECT_NE(limiter.Take("192.0.2.1", 60000), 0);
}

TEST(RateLimiter, RetryAfterCountsWholeSecondsToTheNextToken) {
    RateLimiter slow({2, 1});  // one every 30 s
    EXPECT_EQ(slow.Take("a", 0), 0);
    EXPECT_EQ(slow.Take("a", 0), 30);
    EXPECT_EQ(slow.Take("a", 29500), 1);
    RateLimiter off({0, 1});
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(off.Take("a", 0), 0);
}

TEST(RateLimiter, ClientsPastTheTableShareOneBucket) {
    RateLimiter limiter({60, 2}, 3);
    for (const char* client : {"a", "b", "c"}) EXPECT_EQ(limiter.Take(client, 0), 0);
    EXPECT_EQ(limiter.Take("d", 0), 0);
    EXPECT_EQ(limiter.Take("e", 0), 0);
    EXPECT_NE(limiter.Take("f", 0), 0);  // d, e and f share the overflow bucket of two
    EXPECT_EQ(limiter.clients(), 3u);
    // Once the first buckets are full again they are forgotten and make room.
    EXPECT_EQ(limiter.Take("g", 5000), 0);
    EXPECT_EQ(limiter.clients(), 1u);
}

}  // namespace
}  // namespace nimbo::service
