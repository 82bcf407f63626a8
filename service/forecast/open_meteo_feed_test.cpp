// The feed written from recorded Open-Meteo answers, read back by the widget's own feed reader.
#include "service/forecast/open_meteo_feed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "service/forecast/weather_codes.h"
#include "tests/support/feed_fields.h"
#include "widget/face/sun_times.h"
#include "widget/face/value_format.h"
#include "widget/weather_feed.h"

namespace nimbo::service {
namespace {

const std::filesystem::path kData = std::filesystem::path(NIMBO_TEST_DATA_DIR);

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

WeatherData ReadByWidget(const std::string& feed) {
    WeatherData data;
    data.FeedText = feed;
    ClearWeatherData(data);
    ParseWeatherFeed(data);
    return data;
}

// 2026-12-08 00:00 UTC and 2026-06-21 00:00 UTC.
constexpr int64_t kDecember8 = 1796688000;
constexpr int64_t kJune21 = 1782000000;

const FeedPlace kTromso{"3133880", "Tromsø", "Troms", "Norveç", 69.6489, 18.95508};
const FeedPlace kNewYork{"5128581", "New York", "New York", "Amerika Birleşik Devletleri", 40.71427, -74.00597};

TEST(OpenMeteoFeed, RecordedAnswersGiveTheExpectedRecord) {
    struct Case {
        const char* answer;
        const char* expected;
        FeedPlace place;
        FeedUnit unit;
        int64_t now;
    } cases[] = {
        {"istanbul-day.json",
         "istanbul-day.c.expected",
         {"TUXX0014", "İstanbul", "İstanbul", "Türkiye", 41.01384, 28.94966},
         FeedUnit::Celsius,
         kDecember8 + 6 * 3600 + 50 * 60},
        {"ankara-night.json",
         "ankara-night.f.expected",
         {"323786", "Ankara", "Ankara", "Türkiye", 39.91987, 32.85427},
         FeedUnit::Fahrenheit,
         kDecember8 + 18 * 3600 + 5 * 60},
        {"izmir-nulls.json",
         "izmir-nulls.c.expected",
         {"311046", "İzmir", "İzmir", "Türkiye", 38.41273, 27.13838},
         FeedUnit::Celsius,
         kDecember8 + 6 * 3600 + 50 * 60},
        {"tromso-polar-day.json", "tromso-polar-day.c.expected", kTromso, FeedUnit::Celsius,
         kJune21 + 10 * 3600 + 5 * 60},
        {"tromso-polar-night.json", "tromso-polar-night.c.expected", kTromso, FeedUnit::Celsius,
         kDecember8 + 2 * 86400 + 11 * 3600 + 5 * 60},
        {"reykjavik-late-sunset.json",
         "reykjavik-late-sunset.c.expected",
         {"3413829", "Reykjavík", "Höfuðborgarsvæði", "İzlanda", 64.13548, -21.89541},
         FeedUnit::Celsius,
         kJune21 + 23 * 3600 + 50 * 60},
        {"new-york-fahrenheit.json", "new-york-fahrenheit.c.expected", kNewYork, FeedUnit::Celsius,
         kDecember8 + 14 * 3600 + 50 * 60},
        {"new-york-fahrenheit.json", "new-york-fahrenheit.f.expected", kNewYork, FeedUnit::Fahrenheit,
         kDecember8 + 14 * 3600 + 50 * 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const FeedResult result = OpenMeteoToFeed(ReadFile(kData / "open-meteo" / c.answer), c.place, c.unit, c.now);
        ASSERT_EQ(result.Error, "");
        EXPECT_EQ(testing::FeedFields(ReadByWidget(result.Feed)),
                  testing::ExpectedFields(kData / "open-meteo" / c.expected));
        EXPECT_NE(result.Feed.find("Open-Meteo.com"), std::string::npos);  // attribution
    }
}

// Polar day, polar night and a sunset after midnight: what the widget makes of the written feed's sun times.
TEST(OpenMeteoFeed, SunTimesGiveTheWidgetDayAndNight) {
    struct Case {
        const char* answer;
        FeedPlace place;
        const char* sunLine;
        std::vector<std::pair<const char*, DayNight>> observations;
    };
    const Case cases[] = {
        {"tromso-polar-day.json",
         kTromso,
         "Güneş bugün batmıyor",
         {{"Sun, 21 Jun 2026 12:00 pm CEST", DayNight::Day},
          {"Sun, 21 Jun 2026 12:30 am CEST", DayNight::Day},
          {"Sun, 21 Jun 2026 11:59 pm CEST", DayNight::Day}}},
        {"tromso-polar-night.json",
         kTromso,
         "Güneş bugün doğmuyor",
         {{"Thu, 10 Dec 2026 12:00 pm CET", DayNight::Night}, {"Thu, 10 Dec 2026 12:00 am CET", DayNight::Night}}},
        {"reykjavik-late-sunset.json",
         {"3413829", "Reykjavík", "", "İzlanda", 64.13548, -21.89541},
         "GD: 02:55, GB: 00:04 (ertesi gün)",
         {{"Sun, 21 Jun 2026 11:45 pm GMT", DayNight::Day},
          {"Sun, 21 Jun 2026 12:02 am GMT", DayNight::Day},
          {"Sun, 21 Jun 2026 1:30 am GMT", DayNight::Night},
          {"Sun, 21 Jun 2026 3:00 am GMT", DayNight::Day}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const FeedResult result =
            OpenMeteoToFeed(ReadFile(kData / "open-meteo" / c.answer), c.place, FeedUnit::Celsius, kJune21);
        ASSERT_EQ(result.Error, "");
        WeatherData data = ReadByWidget(result.Feed);
        EXPECT_EQ(SunLine(data.Sunrise, data.Sunset), c.sunLine);
        for (const auto& [observed, state] : c.observations) {
            data.ConditionDate = observed;
            EXPECT_EQ(DayOrNight(data), state) << observed;
        }
    }
    // Older answers wrote 1970-01-01T00:00 for both polar cases, which tells neither: no sun times at all.
    const FeedResult old = OpenMeteoToFeed(
        R"({"utc_offset_seconds": 3600, "current": {"time": "2026-12-10T12:00"},
            "daily": {"time": ["2026-12-10"], "sunrise": ["1970-01-01T00:00"], "sunset": ["1970-01-01T00:00"]}})",
        kTromso, FeedUnit::Celsius, kJune21);
    const WeatherData data = ReadByWidget(old.Feed);
    EXPECT_EQ(data.Sunrise, "");
    EXPECT_EQ(data.Sunset, "");
    EXPECT_EQ(DayOrNight(data), DayNight::Unknown);
}

TEST(OpenMeteoFeed, WritesTenDaysAndEscapesNames) {
    const FeedPlace place{"1", "A&B <\"Köy\">", "R'", "C", 1, 2};
    const FeedResult result =
        OpenMeteoToFeed(ReadFile(kData / "open-meteo" / "istanbul-day.json"), place, FeedUnit::Celsius, kDecember8);
    ASSERT_EQ(result.Error, "");
    size_t days = 0;
    for (size_t at = 0; (at = result.Feed.find("<yweather:forecast ", at)) != std::string::npos; ++at) ++days;
    EXPECT_EQ(days, 10u);
    const WeatherData data = ReadByWidget(result.Feed);
    EXPECT_EQ(data.City, place.City);
    EXPECT_EQ(data.Region, place.Region);
}

TEST(OpenMeteoFeed, UnusableAnswersGiveAnErrorAndNoFeed) {
    const std::string good = ReadFile(kData / "open-meteo" / "istanbul-day.json");
    const std::string answers[] = {
        "",
        "<html>502 Bad Gateway</html>",
        "[1, 2]",
        R"({"error": true, "reason": "Latitude must be in range of -90 to 90°."})",
        good.substr(0, good.size() / 2),  // cut off
        R"({"utc_offset_seconds": 10800, "daily": {"time": ["2026-12-08"]}})",
        R"({"utc_offset_seconds": 10800, "current": {"time": "2026-12-08T09:45"}})",
        R"({"utc_offset_seconds": 10800, "current": {"time": "2026-12-08T09:45"}, "daily": {"time": [null]}})",
        R"({"utc_offset_seconds": "3h", "current": {"time": "2026-12-08T09:45"}, "daily": {"time": ["2026-12-08"]}})",
        R"({"utc_offset_seconds": 1e300, "current": {"time": "2026-12-08T09:45"}, "daily": {"time": ["2026-12-08"]}})",
        R"({"utc_offset_seconds": 0, "current": "now", "daily": {"time": ["2026-12-08"]}})",
        R"({"utc_offset_seconds": 0, "current": {"time": "2026-13-45T99:99"}, "daily": {"time": ["2026-12-08"]}})",
    };
    for (const std::string& answer : answers) {
        SCOPED_TRACE(answer);
        const FeedResult result = OpenMeteoToFeed(answer, {"1", "X", "", "Y", 0, 0}, FeedUnit::Celsius, kDecember8);
        EXPECT_NE(result.Error, "");
        EXPECT_EQ(result.Feed, "");
    }
}

TEST(OpenMeteoFeed, OddValuesLeaveTheirAttributeEmpty) {
    const std::string answer = R"({"utc_offset_seconds": -34200, "timezone_abbreviation": "GMT-9:30",
        "current": {"time": "2026-12-08T00:05", "temperature_2m": 1e300, "weather_code": 2.5, "is_day": null,
                    "relative_humidity_2m": "82", "wind_speed_10m": [1]},
        "daily": {"time": ["2026-12-08"], "weather_code": "61", "sunrise": [7], "temperature_2m_max": [-0.4]}})";
    const FeedResult result = OpenMeteoToFeed(answer, {"1", "X", "", "Y", 0, 0}, FeedUnit::Celsius, kDecember8);
    ASSERT_EQ(result.Error, "");
    const WeatherData data = ReadByWidget(result.Feed);
    EXPECT_EQ(data.Temperature, "");
    EXPECT_EQ(data.ConditionCode, "3200");
    EXPECT_EQ(data.Humidity, "");
    EXPECT_EQ(data.WindSpeed, "");
    EXPECT_EQ(data.ConditionDate, "Tue, 08 Dec 2026 12:05 am -0930");
    EXPECT_EQ(data.LastBuildDate, "Mon, 07 Dec 2026 2:30 pm -0930");
    EXPECT_EQ(data.Forecast[0].Code, "3200");
    EXPECT_EQ(data.Forecast[0].High, "0");  // never "-0"
    EXPECT_EQ(data.Sunrise, "");
}

TEST(OpenMeteoFeed, ErrorFeedHasNoWeather) {
    WeatherData data = ReadByWidget(ErrorFeed("City not found", "Invalid Input"));
    EXPECT_EQ(data.City, "");
    EXPECT_EQ(data.ConditionCode, "");
}

TEST(WeatherCodes, MatchTheTable) {
    std::istringstream lines(ReadFile(kData / "wmo-to-yahoo.tsv"));
    int rows = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream cells(line);
        std::string wmo, meaning, day, night;
        std::getline(cells, wmo, '\t');
        std::getline(cells, meaning, '\t');
        std::getline(cells, day, '\t');
        std::getline(cells, night, '\t');
        if (wmo.empty() || !std::isdigit(static_cast<unsigned char>(wmo[0]))) continue;
        SCOPED_TRACE(line);
        EXPECT_EQ(ConditionForWmoCode(std::stoi(wmo), false).Code, std::stoi(day));
        EXPECT_EQ(ConditionForWmoCode(std::stoi(wmo), true).Code, std::stoi(night));
        ++rows;
    }
    EXPECT_EQ(rows, 28);
    for (const std::optional<int> unknown : {std::optional<int>(), std::optional<int>(4), std::optional<int>(-1)}) {
        EXPECT_EQ(ConditionForWmoCode(unknown, false).Code, kConditionNotAvailable);
        EXPECT_EQ(ConditionForWmoCode(unknown, true).Code, kConditionNotAvailable);
    }
}

}  // namespace
}  // namespace nimbo::service
