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
    UpstreamBudget budget({3, 5, 0});
    const auto take = [&budget](int64_t now) { return budget.TryTake(now, UpstreamCall::Refresh); };
    EXPECT_TRUE(take(0));
    EXPECT_TRUE(take(10));
    EXPECT_TRUE(take(59));
    EXPECT_FALSE(take(59));
    EXPECT_TRUE(take(60));   // the call at 0 left the minute
    EXPECT_FALSE(take(61));  // 10, 59 and 60 are inside it
    EXPECT_TRUE(take(70));
    EXPECT_FALSE(take(300));        // five calls today
    EXPECT_FALSE(take(5));          // a clock stepping back opens nothing
    EXPECT_TRUE(take(86400 + 10));  // the first calls left the day window
    EXPECT_EQ(budget.UsedToday(86400 + 10), 4u);
}

TEST(UpstreamBudget, NewPlacesLeaveTheRefreshShareAlone) {
    // Of 9 calls a minute and 30 a day, a third of each is kept for refreshing cached places.
    UpstreamBudget budget({9, 30, 33});
    const auto takeAll = [&budget](UpstreamCall call, int64_t fromMinute, int64_t toMinute) {
        int taken = 0;
        for (int64_t minute = fromMinute; minute < toMinute; ++minute) {
            while (budget.TryTake(minute * 60, call)) ++taken;
        }
        return taken;
    };
    EXPECT_EQ(takeAll(UpstreamCall::NewPlace, 0, 1), 6);
    EXPECT_EQ(takeAll(UpstreamCall::Refresh, 0, 1), 3);     // the minute is then spent for everyone
    EXPECT_EQ(takeAll(UpstreamCall::NewPlace, 1, 60), 11);  // new places stop at 20 of the day's 30
    EXPECT_EQ(takeAll(UpstreamCall::Refresh, 60, 120), 10);
    EXPECT_EQ(budget.UsedToday(7200), 30u);
}

TEST(FeedCache, ValidatorsAndDates) {
    EXPECT_EQ(EntityTag("a"), EntityTag("a"));
    EXPECT_NE(EntityTag("a"), EntityTag("b"));
    EXPECT_EQ(HttpDate(1796712600), "Tue, 08 Dec 2026 06:50:00 GMT");
}

}  // namespace
}  // namespace nimbo::service
