// The arithmetic Hijri calendar against published conversions, its month and year ends, and its limits.
#include "widget/face/hijri_calendar.h"
#include "tests/support/system_time_at.h"

#include <gtest/gtest.h>

namespace nimbo::testing {
namespace {

struct Conversion {
    int year, month, day;
    int hijriYear, hijriMonth, hijriDay;
};

void ExpectConversions(std::initializer_list<Conversion> cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.year << "-" << c.month << "-" << c.day);
        const std::optional<HijriDate> hijri = GregorianToHijri(c.year, c.month, c.day);
        ASSERT_TRUE(hijri.has_value());
        EXPECT_EQ(hijri->year, c.hijriYear);
        EXPECT_EQ(hijri->month, c.hijriMonth);
        EXPECT_EQ(hijri->day, c.hijriDay);
    }
}

TEST(GregorianToHijri, MatchesPublishedConversions) {
    ExpectConversions({
        {622, 7, 18, 1, 1, 1},       // first day of the era (a Thursday)
        {2002, 4, 3, 1423, 1, 21},   // a Wednesday in Muharrem 1423
        {2005, 1, 1, 1425, 11, 21},  // two years and ten months later, a Saturday
        {2012, 1, 1, 1433, 2, 7},
        {9999, 12, 31, 9666, 4, 3},  // the last day the date type holds
    });
}

TEST(GregorianToHijri, MonthAndYearEnds) {
    ExpectConversions({
        {622, 8, 16, 1, 1, 30},
        {622, 8, 17, 1, 2, 1},  // Muharrem has 30 days
        {2003, 3, 3, 1423, 12, 30},
        {2003, 3, 4, 1424, 1, 1},  // 1423 is a leap year: Zil-hicce 30
        {2004, 2, 20, 1424, 12, 29},
        {2004, 2, 21, 1425, 1, 1},  // 1424 is not: Zil-hicce ends on the 29th
        {2015, 10, 13, 1436, 12, 30},
        {2015, 10, 14, 1437, 1, 1},  // 1436, year 26 of its cycle, is a leap year
    });
}

TEST(GregorianToHijri, GregorianLeapDays) {
    ExpectConversions({
        {2000, 2, 29, 1420, 11, 25},
        {2024, 2, 29, 1445, 8, 20},
        {2024, 3, 1, 1445, 8, 21},
        {1900, 3, 1, 1317, 10, 29},  // 1900 had no 29 February
    });
}

TEST(GregorianToHijri, NothingForDaysItCannotConvert) {
    const struct {
        int year, month, day;
    } cases[] = {
        {622, 7, 17},                  // the day before the era
        {100, 1, 1},                   // a real date, but before the era
        {99, 12, 31},  {10000, 1, 1},  // outside the date type
        {2023, 2, 29}, {2026, 13, 1}, {2026, 0, 10}, {2026, 6, 31},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(GregorianToHijri(c.year, c.month, c.day).has_value()) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(HijriDateLine, DayMonthNameAndYear) {
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(2026, 12, 8)), "28 Cemâziye'l-âhir 1448");
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(2002, 4, 3)), "21 Muharrem 1423");
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(2003, 3, 3)), "30 Zil-hicce 1423");
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(2024, 3, 1)), "21 Şaban 1445");
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(2008, 8, 11)), "9 Şaban 1429");
}

TEST(HijriDateLine, EmptyWhileNotConnectedOrWhenTheDayCannotBeConverted) {
    EXPECT_EQ(HijriDateLine(ConnectionState::Outstanding, At(2026, 12, 8)), "");
    EXPECT_EQ(HijriDateLine(ConnectionState::Failed, At(2026, 12, 8)), "");
    EXPECT_EQ(HijriDateLine(ConnectionState::ThreadFailed, At(2026, 12, 8)), "");
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(600, 1, 1)), "");
    EXPECT_EQ(HijriDateLine(ConnectionState::Succeeded, At(2026, 2, 30)), "");
}

}  // namespace
}  // namespace nimbo::testing
