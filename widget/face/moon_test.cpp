// The moon's percentage and picture index around the reference new moon.
#include "widget/face/moon.h"
#include "tests/support/system_time_at.h"

#include <gtest/gtest.h>

namespace nimbo::testing {
namespace {

TEST(MoonPhase, CountsPercentOfTheLunationFromTheReferenceNewMoon) {
    // Half a lunation is 1 275 721 430 whole ms (14 days 18:22:01.430); a lunation 2 551 442 861.088 ms.
    const struct {
        SystemTime moment;
        int phase;
    } cases[] = {
        {At(2006, 6, 25, 18, 5), 100},           // the reference itself: 0 counts as 100
        {At(2006, 7, 10, 12, 27, 1, 430), 49},   // half a lunation after: p is just below 50
        {At(2006, 6, 10, 23, 42, 58, 570), 49},  // half a lunation before: the distance is absolute
        {At(2006, 6, 25, 18, 5, 25, 514), 0},    // 25.5 s after: p = 0.000999..., cut to 0
        {At(2006, 7, 25, 6, 49, 2, 861), 99},    // a whole lunation less 0.088 ms
        {At(2006, 7, 25, 6, 49, 2, 862), 0},     // a whole lunation and 0.912 ms: the next one starts
        {At(2006, 6, 25), 2},                    // 18:05 before the reference: 2.55
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.moment.month << "-" << c.moment.day << " " << c.moment.hour << ":"
                                          << c.moment.minute << ":" << c.moment.second << "." << c.moment.milliseconds);
        EXPECT_EQ(MoonPhase(c.moment), c.phase);
    }
}

TEST(MoonIndex, RoundsThePhaseToOneOf29Pictures) {
    const struct {
        int phase;
        int index;
    } cases[] = {{100, 28}, {99, 28}, {98, 27}, {50, 14}, {49, 14}, {2, 1}, {1, 0}, {0, 0}};
    for (const auto& c : cases) EXPECT_EQ(MoonIndexOfPhase(c.phase), c.index) << c.phase;
}

TEST(MoonIndex, TakesThePhaseAtMidnight) {
    // 25 July 2006 at 00:00 is 99% into the lunation (index 28); by 07:00 the next lunation has begun.
    EXPECT_EQ(MoonIndex(At(2006, 7, 25, 23, 59)), 28);
    EXPECT_EQ(MoonPhase(At(2006, 7, 25, 7, 0)), 0);
    EXPECT_EQ(MoonIndex(At(2006, 6, 25, 20, 0)), 1);  // midnight is 2.55% away from the reference
}

}  // namespace
}  // namespace nimbo::testing
