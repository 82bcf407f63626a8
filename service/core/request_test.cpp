// Validation of everything a client sends: ids, units, search texts and paths.
#include "service/core/request.h"

#include <gtest/gtest.h>

namespace nimbo::service {
namespace {

TEST(Request, PlaceIds) {
    for (const char* good : {"TUXX0014", "745044", "1", "4294967295", "USNY0996"})
        EXPECT_TRUE(IsValidPlaceId(good)) << good;
    for (const char* bad : {"", "tuxx0014", "TUXX014", "TUXX00145", "0745044", "4294967296", "99999999999", "74504a",
                            "-1", "TUXX001A", "../../etc", "745044 "}) {
        EXPECT_FALSE(IsValidPlaceId(bad)) << bad;
    }
}

TEST(Request, FeedPaths) {
    const Request celsius = ParseRequestTarget("/forecastrss/TUXX0014_c.xml");
    EXPECT_EQ(celsius.route, Route::Feed);
    EXPECT_EQ(celsius.placeId, "TUXX0014");
    EXPECT_EQ(celsius.unit, FeedUnit::Celsius);
    const Request fahrenheit = ParseRequestTarget("/forecastrss/745044_f.xml?ignored=1");
    EXPECT_EQ(fahrenheit.placeId, "745044");
    EXPECT_EQ(fahrenheit.unit, FeedUnit::Fahrenheit);
    for (const char* bad :
         {"/forecastrss/TUXX0014_k.xml", "/forecastrss/TUXX0014.xml", "/forecastrss/_c.xml",
          "/forecastrss/TUXX0014_c.rss", "/forecastrss/", "/forecastrss/.xml", "/forecastrss/%54UXX0014_c.xml",
          "/forecastrss/TUXX0014_C.xml", "forecastrss/1_c.xml", ""}) {
        EXPECT_EQ(ParseRequestTarget(bad).route, Route::BadRequest) << bad;
    }
    EXPECT_EQ(ParseRequestTarget("/" + std::string(kMaxTargetLength, 'a')).route, Route::BadRequest);
    EXPECT_EQ(ParseRequestTarget("/forecastrss").route, Route::NotFound);
    EXPECT_EQ(ParseRequestTarget("/getip.php?ref=nimbo150").route, Route::Address);
    EXPECT_EQ(ParseRequestTarget("http://weather.example/forecastrss/TUXX0014_f.xml").placeId, "TUXX0014");
    EXPECT_EQ(ParseRequestTarget("http://weather.example").route, Route::IndexPage);
}

TEST(Request, SearchTexts) {
    struct Case {
        const char* raw;
        const char* text;
    } cases[] = {
        {"ankara", "ankara"},
        {"%C4%B0stanbul", "İstanbul"},  // percent-encoded UTF-8
        {"\xDDstanbul", "İstanbul"},    // raw Windows-1254 from old clients
        {"%DDzmir", "İzmir"},           // percent-encoded Windows-1254
        {"\xFE"
         "anl\xFD"
         "urfa",
         "şanlıurfa"},
        {"new+york", "new york"},
        {"  ank  ", "ank"},
        {"", ""},
        {"%e2%82%ac", "€"},
    };
    for (const Case& c : cases) {
        const auto text = DecodeSearchQuery(c.raw);
        ASSERT_TRUE(text.has_value()) << c.raw;
        EXPECT_EQ(*text, c.text);
    }
    for (const char* bad : {"%", "%4", "%zz", "a%0Ab", "a\tb", "%00", "%7F"}) {
        EXPECT_FALSE(DecodeSearchQuery(bad).has_value()) << bad;
    }
    EXPECT_TRUE(DecodeSearchQuery(std::string(kMaxQueryBytes, 'a')).has_value());
    EXPECT_FALSE(DecodeSearchQuery(std::string(kMaxQueryBytes + 1, 'a')).has_value());

    EXPECT_EQ(ParseRequestTarget("/search/search?where=%C4%B0zmir&x=1").query, "İzmir");
    EXPECT_EQ(ParseRequestTarget("/search/search?x=1&where=bursa").query, "bursa");
    EXPECT_EQ(ParseRequestTarget("/search/search?where=%ZZ").route, Route::BadRequest);
}

}  // namespace
}  // namespace nimbo::service
