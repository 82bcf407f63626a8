// Feed requests against a clock the test moves: fresh and stale answers, bounded waits for calls, one call
// per place, the budget's share for refreshes, and the bounded queue and waiting room.
#include "service/core/feed_desk.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

constexpr FeedUnit kC = FeedUnit::Celsius;

std::array<CachedFeed, 2> Feeds(int64_t now) { return {CachedFeed{"c", "", now}, CachedFeed{"f", "", now}}; }

struct Desk {
    // Fresh 600 s, stale up to 3600 s, a 30 s pause after failures; new places wait 5 s, stale ones 0.3 s.
    explicit Desk(DeskLimits limits = {}, BudgetLimits budget = {500, 9000, 33})
        : desk({600, 3600, 30, 100}, budget, limits) {}

    FeedDecision Ask(uint32_t place, int64_t nowSeconds) {
        return desk.Ask(place, kC, ++ticket, nowSeconds, nowSeconds * 1000);
    }
    void Cache(uint32_t place, int64_t now) {
        ASSERT_TRUE(Ask(place, now).fetch);
        desk.Finished(place, Feeds(now), now);
    }

    FeedDesk desk;
    uint64_t ticket = 0;
};

TEST(FeedDesk, AnswersFromTheCacheOrWaitsABoundedTimeForTheCall) {
    Desk d;
    FeedDecision first = d.Ask(1, 1000);
    EXPECT_EQ(first.answer, FeedAnswer::Wait);
    EXPECT_TRUE(first.fetch);
    EXPECT_EQ(first.found, Freshness::Missing);
    FeedDecision second = d.Ask(1, 1000);  // one call per place, however many ask
    EXPECT_EQ(second.answer, FeedAnswer::Wait);
    EXPECT_FALSE(second.fetch);
    EXPECT_EQ(d.desk.NextExpiry(), 1000 * 1000 + 5000);
    const std::vector<Waiter> answered = d.desk.Finished(1, Feeds(1000), 1000);
    ASSERT_EQ(answered.size(), 2u);
    EXPECT_EQ(answered[0].ticket, 1u);
    EXPECT_EQ(d.desk.waiting(), 0u);
    EXPECT_EQ(d.desk.NextExpiry(), std::nullopt);
    EXPECT_EQ(d.Ask(1, 1599).answer, FeedAnswer::Fresh);

    // Stale: a short wait for the refresh, then the stale feed while the refresh goes on.
    const FeedDecision stale = d.Ask(1, 1600);
    EXPECT_EQ(stale.found, Freshness::Stale);
    EXPECT_EQ(stale.answer, FeedAnswer::Wait);
    EXPECT_TRUE(stale.fetch);
    EXPECT_TRUE(d.desk.Expired(1600 * 1000 + 299).empty());
    const std::vector<Waiter> over = d.desk.Expired(1600 * 1000 + 300);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_EQ(over[0].place, 1u);
    EXPECT_EQ(d.desk.Find(1, kC, 1600).freshness, Freshness::Stale);
    EXPECT_EQ(d.desk.Finished(1, std::nullopt, 1601).size(), 0u);  // failed, and no one was waiting any more
    EXPECT_EQ(d.Ask(1, 1602).answer, FeedAnswer::Stale);           // the pause after a failure: no wait
    EXPECT_EQ(d.Ask(1, 4600).answer, FeedAnswer::Wait);            // expired: like nothing cached
    EXPECT_EQ(d.desk.Expired(4600 * 1000 + 5000).size(), 1u);
}

TEST(FeedDesk, WithoutAStaleWaitTheStaleFeedComesAtOnce) {
    DeskLimits limits;
    limits.staleWaitMs = 0;
    Desk d(limits);
    d.Cache(1, 0);
    const FeedDecision decision = d.Ask(1, 700);
    EXPECT_EQ(decision.answer, FeedAnswer::Stale);
    EXPECT_TRUE(decision.fetch);  // one refresh in the background
    EXPECT_FALSE(d.Ask(1, 700).fetch);
}

TEST(FeedDesk, ASweepOfNewPlacesLeavesTheRefreshShare) {
    Desk d({}, {500, 6, 33});  // 4 calls a day for new places, 2 more for refreshes
    d.Cache(1, 0);
    for (uint32_t place = 2; place <= 4; ++place) d.Cache(place, 0);
    const FeedDecision refused = d.Ask(5, 1);
    EXPECT_EQ(refused.answer, FeedAnswer::Unavailable);
    EXPECT_EQ(refused.refusal, Refusal::BudgetForNewPlaces);
    EXPECT_TRUE(refused.refusalStarts);
    EXPECT_FALSE(d.Ask(6, 1).refusalStarts);  // one log line per spell, not per request
    EXPECT_EQ(d.desk.cache().size(), 4u);     // refused new places leave nothing behind to evict others
    const FeedDecision refresh = d.Ask(1, 700);
    EXPECT_TRUE(refresh.fetch);
    EXPECT_EQ(refresh.refusal, Refusal::None);
}

TEST(FeedDesk, QueueAndWaitingRoomAreBounded) {
    DeskLimits limits;
    limits.maxCalls = 2;
    limits.maxWaiting = 3;
    Desk d(limits);
    d.Cache(9, 0);
    EXPECT_TRUE(d.Ask(1, 700).fetch);
    EXPECT_TRUE(d.Ask(2, 700).fetch);
    const FeedDecision full = d.Ask(3, 700);  // a new place past the queue: 503
    EXPECT_EQ(full.answer, FeedAnswer::Unavailable);
    EXPECT_EQ(full.refusal, Refusal::QueueFull);
    const FeedDecision cached = d.Ask(9, 700);  // a cached one: its stale feed
    EXPECT_EQ(cached.answer, FeedAnswer::Stale);
    EXPECT_EQ(cached.refusal, Refusal::QueueFull);
    EXPECT_EQ(d.Ask(1, 700).answer, FeedAnswer::Wait);  // the third waiting request
    EXPECT_EQ(d.Ask(1, 700).answer, FeedAnswer::Unavailable);
    d.desk.Finished(2, Feeds(701), 701);
    EXPECT_TRUE(d.Ask(3, 701).fetch);  // room again
    EXPECT_EQ(d.desk.TakeAll().size(), 3u);
    EXPECT_EQ(d.desk.waiting(), 0u);
}

}  // namespace
}  // namespace nimbo::service
