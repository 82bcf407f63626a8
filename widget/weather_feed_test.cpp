// The feed reader on the platform's XML DOM, against recorded feeds and awkward ones.
#include "widget/weather_feed.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/feed_fields.h"
#include "widget/document_text.h"

namespace nimbo {
namespace {

using testing::ExpectedFields;
using testing::FeedFields;

const std::filesystem::path kFeeds = std::filesystem::path(NIMBO_TEST_DATA_DIR) / "feeds";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

WeatherData ParsedFeed(const std::string& bytes) {
    WeatherData data;
    data.CityID = "TUXX0014";
    data.FeedText = DecodeDocumentText(bytes);
    ClearWeatherData(data);
    ParseWeatherFeed(data);
    return data;
}

TEST(WeatherFeed, AddressIsBuiltFromTheCodeAndTheUnit) {
    WeatherData data;
    data.CityID = "TUXX0014";
    EXPECT_EQ(FeedAddress(data), "/forecastrss/TUXX0014_c.xml");
    data.CityID = "BRXX0033";
    data.Unit = "f";
    EXPECT_EQ(FeedAddress(data), "/forecastrss/BRXX0033_f.xml");
}

TEST(WeatherFeed, EveryFeedGivesTheRecordItsReaderExpects) {
    int feeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kFeeds)) {
        if (entry.path().extension() != ".xml") continue;
        ++feeds;
        std::filesystem::path expected = entry.path();
        expected.replace_extension(".expected");
        ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
        EXPECT_EQ(FeedFields(ParsedFeed(ReadFile(entry.path()))), ExpectedFields(expected)) << entry.path().filename();
    }
    EXPECT_GE(feeds, 20);
}

TEST(WeatherFeed, TurkishNamesSurviveEveryDeclaredEncoding) {
    for (const char* name : {"awkward-istanbul-utf8.xml", "awkward-istanbul-iso-8859-9.xml"}) {
        const WeatherData data = ParsedFeed(ReadFile(kFeeds / name));
        EXPECT_EQ(data.City, "İstanbul") << name;
        EXPECT_EQ(data.ConditionText, "Hafif Yağmur Sağanağı") << name;
        // Ten forecast days in the feed: the first five are kept.
        EXPECT_EQ(data.Forecast[0].Text, "Güneşli") << name;
        EXPECT_EQ(data.Forecast[4].Day, "Sat") << name;
        EXPECT_EQ(data.Forecast[4].Low, "6") << name;
    }
}

TEST(WeatherFeed, ClearingKeepsWhatTheFeedDoesNotFill) {
    WeatherData data = ParsedFeed(ReadFile(kFeeds / "07-new-york-2013-c.xml"));
    ASSERT_FALSE(data.City.empty());
    data.IPAddress = "85.1.2.3";
    data.DateText = "8 Aralık 2026";
    data.HijriDateText = "17 Cemaziyelahir 1448";
    const std::string feedText = data.FeedText;

    ClearWeatherData(data);
    EXPECT_TRUE(FeedFields(data).empty());
    EXPECT_EQ(data.CityID, "TUXX0014");
    EXPECT_EQ(data.IPAddress, "85.1.2.3");
    EXPECT_EQ(data.DateText, "8 Aralık 2026");
    EXPECT_EQ(data.HijriDateText, "17 Cemaziyelahir 1448");
    EXPECT_EQ(data.Unit, "c");
    EXPECT_EQ(data.FeedText, feedText);
}

// Error feeds and pages are well-formed documents; only a current condition makes an answer weather.
TEST(WeatherFeed, OnlyADocumentWithACurrentConditionCarriesWeather) {
    for (const auto& entry : std::filesystem::directory_iterator(kFeeds)) {
        if (entry.path().extension() != ".xml") continue;
        const std::string name = entry.path().filename().string();
        const bool noWeather = name == "14-error-city-not-found-2013.xml" || name == "awkward-empty.xml" ||
                               name == "awkward-html-error-page.xml" || name == "awkward-no-yweather.xml";
        EXPECT_EQ(CarriesWeather(ParsedFeed(ReadFile(entry.path()))), !noWeather) << name;
    }
}

// The controller clears first; the parse itself only ever fills what the document holds.
TEST(WeatherFeed, ADocumentWithoutTheElementsChangesNothing) {
    WeatherData before = ParsedFeed(ReadFile(kFeeds / "04-sunnyvale-2013-f.xml"));
    for (const char* text : {"", "<html><body>Service Unavailable</body></html>", "<data><ip>1.2.3.4</ip></data>",
                             "<rss><channel><item></item></channel></rss>"}) {
        WeatherData data = before;
        data.FeedText = text;
        ParseWeatherFeed(data);
        EXPECT_EQ(FeedFields(data), FeedFields(before)) << text;
    }
}

}  // namespace
}  // namespace nimbo
