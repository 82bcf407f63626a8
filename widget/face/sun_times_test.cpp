// Day or night from the feed's sun times, across midnight and at the poles.
#include "widget/face/sun_times.h"

#include <gtest/gtest.h>

namespace nimbo {
namespace {

TEST(SunTimes, DayOrNightAtTheObservationTime) {
    struct Case {
        const char* sunrise;
        const char* sunset;
        const char* observed;
        DayNight state;
    };
    const Case cases[] = {
        {"7:14 am", "4:37 pm", "Tue, 08 Dec 2026 7:13 am EET", DayNight::Night},
        {"7:14 am", "4:37 pm", "Tue, 08 Dec 2026 7:14 am EET", DayNight::Day},
        {"7:14 am", "4:37 pm", "Tue, 08 Dec 2026 4:37 pm EET", DayNight::Night},
        // The sun sets after midnight: from the sunrise to the end of the day and before the sunset.
        {"2:55 am", "12:04 am", "Sun, 21 Jun 2026 11:45 pm GMT", DayNight::Day},
        {"2:55 am", "12:04 am", "Sun, 21 Jun 2026 12:03 am GMT", DayNight::Day},
        {"2:55 am", "12:04 am", "Sun, 21 Jun 2026 12:04 am GMT", DayNight::Night},
        {"2:55 am", "12:04 am", "Sun, 21 Jun 2026 2:54 am GMT", DayNight::Night},
        {"2:55 am", "12:04 am", "Sun, 21 Jun 2026 12:00 pm GMT", DayNight::Day},
        // Polar day: from midnight to the end of the day.
        {"12:00 am", "24:00", "Sun, 21 Jun 2026 12:00 am CEST", DayNight::Day},
        {"12:00 am", "24:00", "Sun, 21 Jun 2026 12:00 pm CEST", DayNight::Day},
        {"12:00 am", "24:00", "Sun, 21 Jun 2026 11:59 pm CEST", DayNight::Day},
        // Polar night: no daylight at all.
        {"12:00 am", "12:00 am", "Thu, 10 Dec 2026 12:00 am CET", DayNight::Night},
        {"12:00 am", "12:00 am", "Thu, 10 Dec 2026 12:00 pm CET", DayNight::Night},
        // Without both times nothing is known; without an observation time it is night, as it always was.
        {"", "4:37 pm", "Tue, 08 Dec 2026 1:00 pm EET", DayNight::Unknown},
        {"7:14 am", "25:00", "Tue, 08 Dec 2026 1:00 pm EET", DayNight::Unknown},
        {"24:00", "24:01", "Tue, 08 Dec 2026 1:00 pm EET", DayNight::Unknown},
        {"7:14 am", "4:37 pm", "", DayNight::Night},
    };
    for (const Case& c : cases) {
        WeatherData weather;
        weather.Sunrise = c.sunrise;
        weather.Sunset = c.sunset;
        weather.ConditionDate = c.observed;
        EXPECT_EQ(DayOrNight(weather), c.state) << c.sunrise << " - " << c.sunset << " at " << c.observed;
    }
}

TEST(SunTimes, DaylightKnowsThePolarCases) {
    const auto polarDay = ReadDaylight("12:00 am", " 24:00 ");
    ASSERT_TRUE(polarDay);
    EXPECT_TRUE(polarDay->PolarDay());
    EXPECT_FALSE(polarDay->PolarNight());
    const auto polarNight = ReadDaylight("12:00 am", "12:00 am");
    ASSERT_TRUE(polarNight);
    EXPECT_TRUE(polarNight->PolarNight());
    EXPECT_FALSE(polarNight->PolarDay());
    const auto late = ReadDaylight("2:55 am", "12:04 am");
    ASSERT_TRUE(late);
    EXPECT_TRUE(late->SetsAfterMidnight());
    EXPECT_FALSE(late->PolarDay() || late->PolarNight());
}

}  // namespace
}  // namespace nimbo
