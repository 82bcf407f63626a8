// Cache freshness, one upstream call per place, the pause after failures, and the upstream budget.
#include "service/core/feed_cache.h"

#include <gtest/gtest.h>

#include "service/core/upstream_budget.h"

namespace nimbo::service {
namespace {

std::array<CachedFeed, 2> Feeds(const std::string& text) {
    return {CachedFeed{text + "c", "", 0}, CachedFeed{text + "f", "", 0}};
}

TEST(FeedCache, FreshThenStaleThenExpired) {
    FeedCache cache({600, 3600, 30, 10});
    EXPECT_EQ(cache.Find(1, FeedUnit::Celsius, 0).freshness, Freshness::Missing);
    EXPECT_TRUE(cache.ShouldFetch(1, 0));
    cache.FetchStarted(1);
    EXPECT_FALSE(cache.ShouldFetch(1, 0));  // one call per place however many ask
    cache.FetchSucceeded(1, Feeds("a"), 1000);
    EXPECT_EQ(cache.Find(1, FeedUnit::Fahrenheit, 1599).feed->body, "af");
    EXPECT_EQ(cache.Find(1, FeedUnit::Celsius, 1599).freshness, Freshness::Fresh);
    EXPECT_EQ(cache.Find(1, FeedUnit::Celsius, 1600).freshness, Freshness::Stale);
    EXPECT_EQ(cache.Find(1, FeedUnit::Celsius, 4600).freshness, Freshness::Expired);

    cache.FetchStarted(1);
    cache.FetchFailed(1, 2000);
    EXPECT_EQ(cache.Find(1, FeedUnit::Celsius, 2000).feed->body, "ac");  // the old feed stays
    EXPECT_FALSE(cache.ShouldFetch(1, 2029));
    EXPECT_TRUE(cache.ShouldFetch(1, 2030));
}

TEST(FeedCache, EvictsOldestButNeverARunningCall) {
    FeedCache cache({600, 3600, 30, 2});
    cache.FetchStarted(1);
    for (uint32_t place = 2; place <= 4; ++place) {
        cache.FetchStarted(place);
        cache.FetchSucceeded(place, Feeds("x"), 0);
    }
    EXPECT_TRUE(cache.Fetching(1));
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.Find(4, FeedUnit::Celsius, 0).freshness, Freshness::Fresh);
    EXPECT_EQ(cache.Find(2, FeedUnit::Celsius, 0).freshness, Freshness::Missing);
}

TEST(UpstreamBudget, NeverMoreThanTheLimitsInAnyWindow) {
    UpstreamBudget budget({3, 5});
    EXPECT_TRUE(budget.TryTake(0));
    EXPECT_TRUE(budget.TryTake(10));
    EXPECT_TRUE(budget.TryTake(59));
    EXPECT_FALSE(budget.TryTake(59));
    EXPECT_TRUE(budget.TryTake(60));   // the call at 0 left the minute
    EXPECT_FALSE(budget.TryTake(61));  // 10, 59 and 60 are inside it
    EXPECT_TRUE(budget.TryTake(70));
    EXPECT_FALSE(budget.TryTake(300));        // five calls today
    EXPECT_FALSE(budget.TryTake(5));          // a clock stepping back opens nothing
    EXPECT_TRUE(budget.TryTake(86400 + 10));  // the first calls left the day window
    EXPECT_EQ(budget.UsedToday(86400 + 10), 4u);
}

TEST(FeedCache, ValidatorsAndDates) {
    EXPECT_EQ(EntityTag("a"), EntityTag("a"));
    EXPECT_NE(EntityTag("a"), EntityTag("b"));
    EXPECT_EQ(HttpDate(1796712600), "Tue, 08 Dec 2026 06:50:00 GMT");
}

}  // namespace
}  // namespace nimbo::service
