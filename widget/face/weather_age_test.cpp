// The age line for today, yesterday and before, and when weather turns stale for each refresh setting.
#include "widget/face/weather_age.h"

#include <gtest/gtest.h>

#include "tests/support/system_time_at.h"

namespace nimbo::testing {
namespace {

std::string Line(const SystemTime& received, const SystemTime& now) {
    return LastUpdateLine(received, now, BuiltInTurkishCalendarNames());
}

TEST(WeatherAge, TheLineSaysTheTimeAndTheDayWhenItIsNotToday) {
    EXPECT_EQ(Line(At(2026, 12, 9, 14, 32, 59), At(2026, 12, 9, 23, 59)), "Son güncelleme: 14:32");
    EXPECT_EQ(Line(At(2026, 12, 9, 0, 5), At(2026, 12, 9, 0, 5)), "Son güncelleme: 00:05");
    EXPECT_EQ(Line(At(2026, 12, 8, 22, 10), At(2026, 12, 9, 0, 1)), "Son güncelleme: dün 22:10");
    EXPECT_EQ(Line(At(2026, 12, 8, 22, 10), At(2026, 12, 10, 9, 0)), "Son güncelleme: 8 Aralık 22:10");
    // Across the month's and the year's end.
    EXPECT_EQ(Line(At(2026, 11, 30, 8, 0), At(2026, 12, 1, 8, 0)), "Son güncelleme: dün 08:00");
    EXPECT_EQ(Line(At(2026, 12, 31, 23, 59), At(2027, 1, 1, 0, 0)), "Son güncelleme: dün 23:59");
    EXPECT_EQ(Line(At(2026, 12, 30, 7, 5), At(2027, 1, 1, 0, 0)), "Son güncelleme: 30 Aralık 07:05");
    EXPECT_EQ(Line(At(2027, 2, 28, 12, 0), At(2027, 3, 1, 12, 0)), "Son güncelleme: dün 12:00");
    // A clock set back makes the weather look newer than now: its date is given, never "dün".
    EXPECT_EQ(Line(At(2026, 12, 10, 9, 0), At(2026, 12, 9, 9, 0)), "Son güncelleme: 10 Aralık 09:00");
}

TEST(WeatherAge, MinutesCountAcrossDaysAndGoBackWithTheClock) {
    EXPECT_EQ(MinutesBetween(At(2026, 12, 8, 23, 50), At(2026, 12, 9, 0, 20)), 30);
    EXPECT_EQ(MinutesBetween(At(2026, 12, 31, 0, 0), At(2027, 1, 1, 0, 0)), 24 * 60);
    EXPECT_EQ(MinutesBetween(At(2026, 12, 9, 10, 0), At(2026, 12, 9, 9, 0)), -60);
}

TEST(WeatherAge, StaleAfterTwiceThePeriodAtLeastAnHourAndThreeHoursWithoutRefresh) {
    struct Case {
        bool autoUpdate;
        uint32_t periodMinutes;
        int64_t staleAfter;
    } const cases[] = {
        {true, 5, 60},    {true, 15, 60},  {true, 30, 60},    {true, 60, 120},
        {true, 120, 240}, {false, 5, 180}, {false, 120, 180},
    };
    for (const Case& c : cases) {
        WidgetSettings settings;
        settings.autoUpdate = c.autoUpdate;
        settings.updatePeriodMs = c.periodMinutes * 60000;
        EXPECT_EQ(StaleAfterMinutes(settings), c.staleAfter) << c.periodMinutes;
        const SystemTime received = At(2026, 12, 8, 20, 0);
        const SystemTime atTheLimit = At(2026, 12, 8, 20 + static_cast<int>(c.staleAfter / 60), 0);
        EXPECT_FALSE(IsStale(received, atTheLimit, settings)) << c.periodMinutes;
        EXPECT_TRUE(IsStale(received, At(2026, 12, 8, atTheLimit.hour, 1), settings)) << c.periodMinutes;
    }
    // The clock going back never makes weather stale.
    EXPECT_FALSE(IsStale(At(2026, 12, 9, 10, 0), At(2026, 12, 8, 10, 0), WidgetSettings{}));
}

}  // namespace
}  // namespace nimbo::testing
