// One refresh's downloads by mode: the feed server's single request, or Open-Meteo's look-up and forecast.
#include "widget/weather_source.h"

#include <gtest/gtest.h>

#include "service/forecast/open_meteo_feed.h"
#include "tests/support/temp_folder.h"
#include "widget/ini_file.h"

namespace nimbo {
namespace {

constexpr char kBerlin[] =
    R"({"id":2950159,"name":"Berlin","latitude":52.52437,"longitude":13.41053,"country":"Almanya","admin1":"Berlin"})";

class WeatherFetchTest : public ::testing::Test {
protected:
    WeatherFetchTest() {
        m_servers.Direct = true;
        m_servers.Forecast = "http://f/v1/forecast";
        m_servers.Geocoding = "http://g/v1";
    }

    WeatherFetch Fetch(const std::string& id, const std::string& city = "") {
        m_weather.CityID = id;
        m_weather.City = city;
        return WeatherFetch(m_servers, m_settings, m_weather, "/forecastrss/" + id + "_c.xml",
                            [this](const std::string& json, const GeoPlace& place, const std::string& unit) {
                                m_converted = place;
                                return json == "bad" ? std::nullopt
                                                     : std::optional<std::string>("feed of " + json + " in " + unit);
                            });
    }

    testing::TempFolder m_folder;
    IniFile m_settings{m_folder.File("Options.ini")};
    ServerAddresses m_servers;
    WeatherData m_weather;
    GeoPlace m_converted;
};

TEST_F(WeatherFetchTest, FeedServerIsAskedOnceAndItsAnswerPassesUnchanged) {
    m_servers = ServerAddresses{"http://w:1", "", "", ""};
    WeatherFetch fetch = Fetch("TUXX0014");
    EXPECT_EQ(fetch.Url(), "http://w:1/forecastrss/TUXX0014_c.xml");
    EXPECT_FALSE(fetch.Advance(0, "<rss/>"));
    EXPECT_EQ(fetch.ResultCode(), 0);
    EXPECT_EQ(fetch.FeedBytes(), "<rss/>");
    WeatherFetch failed = Fetch("TUXX0014");
    EXPECT_FALSE(failed.Advance(-1, ""));
    EXPECT_EQ(failed.ResultCode(), -1);
}

TEST_F(WeatherFetchTest, KnownPlaceGoesStraightToTheForecastUnderTheNameTheUserKnows) {
    WeatherFetch fetch = Fetch("TUXX0014", "Istanbul");
    EXPECT_EQ(fetch.Url(), "http://f/v1/forecast?" + service::ForecastQuery(41.01384, 28.94966));
    EXPECT_FALSE(fetch.Advance(0, "{}"));
    EXPECT_EQ(fetch.ResultCode(), 0);
    EXPECT_EQ(fetch.FeedBytes(), "feed of {} in c");
    EXPECT_EQ(m_converted.name, "Istanbul");
    EXPECT_EQ(m_converted.region, "Istanbul");
    EXPECT_EQ(m_converted.country, "Türkiye");
    EXPECT_EQ(m_converted.id, "TUXX0014");
    // With no name of the user's, the program's own.
    WeatherFetch unnamed = Fetch("323786", "");
    unnamed.Advance(0, "{}");
    EXPECT_EQ(m_converted.name, "Ankara");
    WeatherFetch picked = Fetch("323786", "Ankara, Ankara, Türkiye");
    picked.Advance(0, "{}");
    EXPECT_EQ(m_converted.name, "Ankara");
    EXPECT_EQ(m_converted.country, "Türkiye");
}

TEST_F(WeatherFetchTest, NewGeoNamesIdIsLookedUpOnceAndRemembered) {
    WeatherFetch first = Fetch("2950159", "Berlin, Berlin, Almanya");
    EXPECT_EQ(first.Url(), "http://g/v1/get?id=2950159&language=tr&format=json");
    ASSERT_TRUE(first.Advance(0, kBerlin));
    EXPECT_EQ(first.Url(), "http://f/v1/forecast?" + service::ForecastQuery(52.52437, 13.41053));
    EXPECT_FALSE(first.Advance(0, "{}"));
    EXPECT_EQ(first.ResultCode(), 0);
    EXPECT_EQ(m_converted.name, "Berlin");
    EXPECT_EQ(m_settings.ReadString(kCoordinatesSection, "2950159", ""), "52.52437,13.41053");

    WeatherFetch next = Fetch("2950159", "Berlin");
    EXPECT_EQ(next.Url(), "http://f/v1/forecast?" + service::ForecastQuery(52.52437, 13.41053));
}

TEST_F(WeatherFetchTest, EveryFailureOnTheWayIsAFailedDownloadAndRemembersNothing) {
    struct Case {
        const char* what;
        int32_t lookupCode;
        const char* lookup;
        int32_t forecastCode;
        const char* forecast;
    };
    for (const Case& c :
         {Case{"look-up not reached", -1, "", 0, "{}"},
          Case{"look-up error answer", 0, R"({"error":true,"reason":"Location ID not found."})", 0, "{}"},
          Case{"look-up garbage", 0, "<html>", 0, "{}"},
          Case{"another place", 0, R"({"id":1,"name":"X","latitude":1,"longitude":2})", 0, "{}"},
          Case{"forecast not reached", 0, kBerlin, -1, ""}, Case{"forecast unreadable", 0, kBerlin, 0, "bad"}}) {
        m_settings.EraseSection(kCoordinatesSection);
        WeatherFetch fetch = Fetch("2950159");
        if (fetch.Advance(c.lookupCode, c.lookup)) fetch.Advance(c.forecastCode, c.forecast);
        EXPECT_EQ(fetch.ResultCode(), -1) << c.what;
        EXPECT_EQ(fetch.FeedBytes(), "") << c.what;
        const bool lookedUp = std::string(c.lookup) == kBerlin;
        EXPECT_EQ(PlaceCoordinates(m_settings, "2950159").has_value(), lookedUp) << c.what;
    }
    // A code that is no GeoNames id cannot be asked for: no address, and the download fails.
    WeatherFetch unknown = Fetch("TUXX9999");
    EXPECT_EQ(unknown.Url(), "");
    EXPECT_FALSE(unknown.Advance(-1, ""));
    EXPECT_EQ(unknown.ResultCode(), -1);
}

}  // namespace
}  // namespace nimbo
