// The feed's date reader on the documented shapes, its fixed-place quirks, real feed texts, and times of day.
#include "widget/feed_time.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace nimbo::testing {
namespace {

struct Fields {
    int year, month, dayOfWeek, day, hour, minute;
};

void ExpectFields(const SystemTime& t, const Fields& f) {
    EXPECT_EQ(t.year, f.year);
    EXPECT_EQ(t.month, f.month);
    EXPECT_EQ(t.dayOfWeek, f.dayOfWeek);
    EXPECT_EQ(t.day, f.day);
    EXPECT_EQ(t.hour, f.hour);
    EXPECT_EQ(t.minute, f.minute);
    EXPECT_EQ(t.second, 0);
    EXPECT_EQ(t.milliseconds, 0);
}

TEST(EnglishNameLookup, IgnoresAsciiCaseAndRejectsEverythingElse) {
    const struct {
        const char* name;
        int month;
        int weekday;
    } cases[] = {
        {"Jan", 1, -1},  {"dec", 12, -1},  {"AUG", 8, -1}, {"Sun", -1, 0}, {"sat", -1, 6},  {"MON", -1, 1},
        {"Agu", -1, -1}, {"Augu", -1, -1}, {"Au", -1, -1}, {"", -1, -1},   {"Pzt", -1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EnglishMonthNumber(c.name), c.month) << c.name;
        EXPECT_EQ(EnglishWeekdayNumber(c.name), c.weekday) << c.name;
    }
}

TEST(ParseFeedTime, ReadsEveryPartFromItsFixedPlace) {
    const struct {
        const char* text;
        Fields expected;
    } cases[] = {
        {"Mon, 11 Aug 2008 5:50 am PDT", {2008, 8, 1, 11, 5, 50}},
        {"Mon, 11 Aug 2008 12:15 am PDT", {2008, 8, 1, 11, 0, 15}},
        {"Mon, 11 Aug 2008 12:15 pm PDT", {2008, 8, 1, 11, 12, 15}},
        {"Mon, 11 Aug 2008 1:05 pm PDT", {2008, 8, 1, 11, 13, 5}},
        {"Mon 11 Aug 2008 1:05 pm", {2008, 8, 1, 11, 13, 5}},  // the comma is optional
        // No colon: the minute's place holds "pm", so there is neither a minute nor a marker.
        {"Mon, 11 Aug 2008 1305 pm", {2008, 8, 1, 11, 1305, 0}},
        {"mon, 11 aug 2008 5:50 PM", {2008, 8, 1, 11, 17, 50}},
        // No day name: every later part is read one place early.
        {"11 Aug 2008 5:50 pm", {5, 0, 0, 0, 12, 50}},
        // Unknown names are stored as -1.
        {"Mon, 11 Agu 2008 5:50 am", {2008, 65535, 1, 11, 5, 50}},
        {"Pzt, 11 Aug 2008 5:50 am", {2008, 8, 65535, 11, 5, 50}},
        // Parts missing at the end stay 0.
        {"Mon, 11 Aug", {0, 8, 1, 11, 0, 0}},
        {" ", {0, 0, 0, 0, 0, 0}},
        // A number too long for its 16-bit field keeps its low 16 bits: 10^20 mod 65536 is 0, 65537 is 1.
        {"Mon, 100000000000000000000 Aug 65537", {1, 8, 1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SystemTime t{1, 2, 3, 4, 5, 6, 7, 8};
        EXPECT_TRUE(ParseFeedTime(c.text, t));
        ExpectFields(t, c.expected);
    }
}

TEST(ParseFeedTime, EmptyTextFailsAndLeavesTheRecordAlone) {
    SystemTime t{2008, 8, 1, 11, 5, 50, 0, 0};
    EXPECT_FALSE(ParseFeedTime("", t));
    ExpectFields(t, {2008, 8, 1, 11, 5, 50});
}

std::string ReadFeed(const std::string& name) {
    std::ifstream file(std::string(NIMBO_TEST_DATA_DIR) + "/feeds/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The value of `attribute` in the first `element` of a feed; enough for these fixtures, which are not parsed here.
std::string Attribute(const std::string& feed, const std::string& element, const std::string& attribute) {
    const size_t start = feed.find("<" + element);
    const size_t end = feed.find('>', start);
    const size_t at = feed.find(" " + attribute + "=\"", start);
    if (start == std::string::npos || at == std::string::npos || at > end) return {};
    const size_t valueStart = at + attribute.size() + 3;
    return feed.substr(valueStart, feed.find('"', valueStart) - valueStart);
}

TEST(ParseFeedTime, RealFeedTimesReadAsAUserWouldExpect) {
    const struct {
        const char* file;
        Fields condition;
        const char* sunrise;
        TimeOfDay sunriseTime;
        TimeOfDay sunsetTime;
    } cases[] = {
        {"01-sunnyvale-2008-f.xml", {2008, 1, 1, 21, 8, 56}, "7:19 am", {7, 19, 0}, {17, 20, 0}},
        {"03-belo-horizonte-2010-f.xml", {2010, 3, 4, 18, 0, 0}, "5:59 am", {5, 59, 0}, {18, 8, 0}},
        {"06-vienna-2016-yql-f.xml", {2016, 7, 3, 13, 13, 0}, "5:9 am", {5, 9, 0}, {20, 51, 0}},
        {"07-new-york-2013-c.xml", {2013, 3, 3, 27, 9, 49}, "6:46 am", {6, 46, 0}, {19, 13, 0}},
        {"08-san-diego-2018-yql-f.xml", {2018, 8, 4, 9, 1, 0}, "6:8 am", {6, 8, 0}, {19, 40, 0}},
        {"11-glasgow-2016-yql-c.xml", {2016, 11, 1, 7, 21, 0}, "7:38 am", {7, 38, 0}, {16, 23, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string feed = ReadFeed(c.file);
        ASSERT_FALSE(feed.empty());
        SystemTime t;
        ASSERT_TRUE(ParseFeedTime(Attribute(feed, "yweather:condition", "date"), t));
        ExpectFields(t, c.condition);

        EXPECT_EQ(Attribute(feed, "yweather:astronomy", "sunrise"), c.sunrise);
        const auto sunrise = ReadTimeOfDay(Attribute(feed, "yweather:astronomy", "sunrise"));
        const auto sunset = ReadTimeOfDay(Attribute(feed, "yweather:astronomy", "sunset"));
        ASSERT_TRUE(sunrise && sunset);
        EXPECT_EQ(sunrise->hour * 60 + sunrise->minute, c.sunriseTime.hour * 60 + c.sunriseTime.minute);
        EXPECT_EQ(sunset->hour * 60 + sunset->minute, c.sunsetTime.hour * 60 + c.sunsetTime.minute);
    }

    // The YQL feeds write «03:07 PM»: upper case and zero-padded.
    SystemTime built;
    const std::string feed = ReadFeed("06-vienna-2016-yql-f.xml");
    const size_t at = feed.find("<lastBuildDate>") + 15;
    ASSERT_TRUE(ParseFeedTime(feed.substr(at, feed.find('<', at) - at), built));
    ExpectFields(built, {2016, 7, 3, 13, 15, 7});
}

TEST(ReadTimeOfDay, AcceptsTheFeedsClockShapesOnly) {
    const struct {
        const char* text;
        bool valid;
        int hour, minute, second;
    } cases[] = {
        {"5:50 am", true, 5, 50, 0},   {"5:9 am", true, 5, 9, 0},       {"03:07 PM", true, 15, 7, 0},
        {"12:00 am", true, 0, 0, 0},   {"12:30 pm", true, 12, 30, 0},   {"11:56 pm", true, 23, 56, 0},
        {"0:15 am", true, 0, 15, 0},   {"17:45", true, 17, 45, 0},      {" 6:08 pm ", true, 18, 8, 0},
        {"5:50am", true, 5, 50, 0},    {"7:19:30 am", true, 7, 19, 30}, {"", false, 0, 0, 0},
        {"5", false, 0, 0, 0},         {"5:", false, 0, 0, 0},          {":50 am", false, 0, 0, 0},
        {"13:00 pm", false, 0, 0, 0},  {"24:00", false, 0, 0, 0},       {"5:60 am", false, 0, 0, 0},
        {"5:50 xm", false, 0, 0, 0},   {"5:50 am PDT", false, 0, 0, 0}, {"123:4", false, 0, 0, 0},
        {"5:50 am x", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<TimeOfDay> time = ReadTimeOfDay(c.text);
        ASSERT_EQ(time.has_value(), c.valid);
        if (!time) continue;
        EXPECT_EQ(time->hour, c.hour);
        EXPECT_EQ(time->minute, c.minute);
        EXPECT_EQ(time->second, c.second);
    }
}

}  // namespace
}  // namespace nimbo::testing
