// The forecast cells against today's date: past days dropped, titles from the dates.
#include "widget/face/forecast_days.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/system_time_at.h"
#include "tests/support/temp_folder.h"
#include "widget/weather_feed.h"

namespace nimbo {
namespace {

using testing::At;

// The recorded feed of 8 December 2026 (ten days, observed at 9:50 am).
WeatherData RecordedDecember8() {
    WeatherData weather;
    weather.FeedText = testing::ReadBytes(NIMBO_TEST_DATA_DIR "/server/forecastrss/TUXX0014_c.xml");
    ParseWeatherFeed(weather);
    return weather;
}

std::vector<std::string> Titles(const std::array<ForecastCell, kForecastDays>& cells) {
    std::vector<std::string> titles;
    for (const ForecastCell& cell : cells) titles.push_back(cell.day ? cell.title : "-");
    return titles;
}

std::vector<std::string> Dates(const std::array<ForecastCell, kForecastDays>& cells) {
    std::vector<std::string> dates;
    for (const ForecastCell& cell : cells) dates.push_back(cell.day ? cell.day->Date : "-");
    return dates;
}

TEST(ForecastDays, DaysFollowTheirDatesFromToday) {
    const WeatherData weather = RecordedDecember8();
    struct Case {
        SystemTime today;
        std::vector<std::string> titles;
        std::vector<std::string> dates;
    };
    const Case cases[] = {
        {At(2026, 12, 8, 10),
         {"BUGÜN", "YARIN", "PRŞ", "CUM", "CMT"},
         {"8 Dec 2026", "9 Dec 2026", "10 Dec 2026", "11 Dec 2026", "12 Dec 2026"}},
        // A day later the 8 December feed no longer shows the 8th, and its first day is no longer "BUGÜN";
        // the title goes by the hour now, since the observation is from yesterday.
        {At(2026, 12, 9, 10),
         {"BUGÜN", "YARIN", "CUM", "CMT", "PAZ"},
         {"9 Dec 2026", "10 Dec 2026", "11 Dec 2026", "12 Dec 2026", "13 Dec 2026"}},
        {At(2026, 12, 9, 21),
         {"BU GECE", "YARIN", "CUM", "CMT", "PAZ"},
         {"9 Dec 2026", "10 Dec 2026", "11 Dec 2026", "12 Dec 2026", "13 Dec 2026"}},
        // Near its end the feed fills fewer cells; once all its days are past, none.
        {At(2026, 12, 15, 12),
         {"BUGÜN", "YARIN", "PRŞ", "-", "-"},
         {"15 Dec 2026", "16 Dec 2026", "17 Dec 2026", "-", "-"}},
        {At(2026, 12, 18, 12), {"-", "-", "-", "-", "-"}, {"-", "-", "-", "-", "-"}},
        // A clock behind the feed: its first day is tomorrow's, then the day names.
        {At(2026, 12, 7, 12),
         {"YARIN", "ÇRŞ", "PRŞ", "CUM", "CMT"},
         {"8 Dec 2026", "9 Dec 2026", "10 Dec 2026", "11 Dec 2026", "12 Dec 2026"}},
        // A new year between the feed and today is only a date like any other.
        {At(2027, 1, 1, 12), {"-", "-", "-", "-", "-"}, {"-", "-", "-", "-", "-"}},
    };
    for (const Case& c : cases) {
        const auto cells = ForecastCells(weather, c.today);
        EXPECT_EQ(Titles(cells), c.titles) << c.today.day << "." << c.today.month << " " << c.today.hour;
        EXPECT_EQ(Dates(cells), c.dates) << c.today.day << "." << c.today.month << " " << c.today.hour;
    }
}

TEST(ForecastDays, DaysWithoutReadableDatesKeepTheirPlaces) {
    WeatherData weather;
    weather.ConditionDate = "Tue, 08 Dec 2026 4:30 pm EET";
    const char* days[] = {"Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const char* dates[] = {"", "9 Dec", "Thursday", "11 Agu 2026", "", ""};
    for (size_t i = 0; i < 6; ++i) {
        weather.Forecast[i].Day = days[i];
        weather.Forecast[i].Date = dates[i];
    }
    weather.Forecast[2].Day.clear();  // no day name, no title
    EXPECT_EQ(Titles(ForecastCells(weather, At(2026, 12, 8, 17))),
              (std::vector<std::string>{"BU GECE", "YARIN", "", "CUM", "CMT"}));

    // Readable dates in the past go, the others stay in their order.
    weather.Forecast[0].Date = "7 Dec 2026";
    weather.Forecast[1].Date = "8 Dec 2026";
    EXPECT_EQ(Dates(ForecastCells(weather, At(2026, 12, 8, 17))),
              (std::vector<std::string>{"8 Dec 2026", "Thursday", "11 Agu 2026", "", ""}));
    EXPECT_EQ(Titles(ForecastCells(weather, At(2026, 12, 8, 17)))[0], "BU GECE");
}

}  // namespace
}  // namespace nimbo
