// The widget's direct mode writes the very feed the data service writes from the same recorded answer.
#include "widget/direct_feed.h"

#include <gtest/gtest.h>

#include "service/forecast/open_meteo_feed.h"
#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"

namespace nimbo {
namespace {

// 2026-12-08 09:50 +0300.
constexpr int64_t kNow = 1796712600;

TEST(DirectFeed, RecordedAnswersGiveTheServicesFeedByteForByte) {
    struct Case {
        const char* answer;
        const char* cityId;
        const char* city;  // as Location/CityName holds it
        const char* unit;
        service::FeedPlace servicePlace;  // as the service resolves the id
    } cases[] = {
        {"istanbul-day.json",
         "TUXX0014",
         "İstanbul",
         "c",
         {"TUXX0014", "İstanbul", "İstanbul", "Türkiye", 41.01384, 28.94966}},
        {"ankara-night.json", "323786", "Ankara", "f", {"323786", "Ankara", "Ankara", "Türkiye", 39.91987, 32.85427}},
        {"izmir-nulls.json",
         "311046",
         "İzmir, İzmir, Türkiye",
         "c",
         {"311046", "İzmir", "İzmir", "Türkiye", 38.41273, 27.13838}},
    };
    testing::TempFolder folder;
    IniFile settings(folder.File("Options.ini"));
    ServerAddresses servers;
    servers.Direct = true;
    servers.Forecast = "http://127.0.0.1:9/v1/forecast";
    for (const Case& c : cases) {
        const std::string answer = testing::ReadBytes(NIMBO_TEST_DATA_DIR "/open-meteo/" + std::string(c.answer));
        WeatherData weather;
        weather.CityID = c.cityId;
        weather.City = c.city;
        weather.Unit = c.unit;
        WeatherFetch fetch(servers, settings, weather, "", DirectFeedConversion([] { return kNow; }));
        ASSERT_FALSE(fetch.Advance(0, answer)) << c.answer;
        const service::FeedResult service = service::OpenMeteoToFeed(
            answer, c.servicePlace,
            std::string(c.unit) == "f" ? service::FeedUnit::Fahrenheit : service::FeedUnit::Celsius, kNow);
        ASSERT_FALSE(service.Feed.empty()) << c.answer << ": " << service.Error;
        EXPECT_EQ(fetch.ResultCode(), 0) << c.answer;
        EXPECT_EQ(fetch.FeedBytes(), service.Feed) << c.answer;
    }
}

TEST(DirectFeed, AnswerTheConversionCannotReadIsAFailedDownload) {
    testing::TempFolder folder;
    IniFile settings(folder.File("Options.ini"));
    ServerAddresses servers;
    servers.Direct = true;
    WeatherData weather;
    weather.CityID = "TUXX0014";
    for (const char* answer : {"", "<html>500</html>", R"({"error":true,"reason":"Cannot initialize"})", "{}"}) {
        WeatherFetch fetch(servers, settings, weather, "", DirectFeedConversion([] { return kNow; }));
        fetch.Advance(0, answer);
        EXPECT_EQ(fetch.ResultCode(), -1) << answer;
        EXPECT_EQ(fetch.FeedBytes(), "") << answer;
    }
}

}  // namespace
}  // namespace nimbo
