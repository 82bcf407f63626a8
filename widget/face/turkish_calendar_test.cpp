// The Gregorian date line: Turkish names, the weekday worked out from the date, and when it is left empty.
#include "widget/face/turkish_calendar.h"
#include "tests/support/system_time_at.h"

#include <gtest/gtest.h>

namespace nimbo::testing {
namespace {

TEST(GregorianDateLine, NamesDayMonthYearAndWeekdayInTurkish) {
    const auto& names = BuiltInTurkishCalendarNames();
    const struct {
        SystemTime today;
        const char* line;
    } cases[] = {
        {At(2026, 12, 8), "8 Aralık 2026 Salı"},      {At(2008, 8, 11), "11 Ağustos 2008 Pazartesi"},
        {At(2024, 2, 29), "29 Şubat 2024 Perşembe"},  {At(2000, 2, 29), "29 Şubat 2000 Salı"},
        {At(2023, 1, 1), "1 Ocak 2023 Pazar"},        {At(2016, 7, 13), "13 Temmuz 2016 Çarşamba"},
        {At(2017, 9, 30), "30 Eylül 2017 Cumartesi"}, {At(2019, 5, 31), "31 Mayıs 2019 Cuma"},
        {At(1970, 1, 1), "1 Ocak 1970 Perşembe"},     {At(1969, 12, 31), "31 Aralık 1969 Çarşamba"},
    };
    for (const auto& c : cases) EXPECT_EQ(GregorianDateLine(ConnectionState::Succeeded, c.today, names), c.line);
}

TEST(GregorianDateLine, EmptyWhileNotConnectedOrForADayThatDoesNotExist) {
    const auto& names = BuiltInTurkishCalendarNames();
    for (auto state : {ConnectionState::Outstanding, ConnectionState::Failed, ConnectionState::ThreadFailed}) {
        EXPECT_EQ(GregorianDateLine(state, At(2026, 12, 8), names), "");
    }
    for (const SystemTime& day :
         {At(2023, 2, 29), At(1900, 2, 29), At(2026, 13, 1), At(2026, 0, 1), At(2026, 4, 31), At(2026, 1, 0)}) {
        EXPECT_EQ(GregorianDateLine(ConnectionState::Succeeded, day, names), "") << day.month << "/" << day.day;
    }
}

TEST(GregorianDateLine, UsesTheNamesItIsGiven) {
    TurkishCalendarNames names = BuiltInTurkishCalendarNames();
    names.months[11] = "Kânunuevvel";
    names.weekdays[2] = "";
    EXPECT_EQ(GregorianDateLine(ConnectionState::Succeeded, At(2026, 12, 8), names), "8 Kânunuevvel 2026 ");
}

}  // namespace
}  // namespace nimbo::testing
