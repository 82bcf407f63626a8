// The system's Turkish locale and the built-in names spell every month and weekday the same way.
#include "widget/face/locale_names_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/wide_text_win.h"

namespace nimbo::testing {
namespace {

std::string SystemName(LCTYPE type) {
    wchar_t buffer[512] = {};
    if (GetLocaleInfoW(0x041F, type, buffer, 512) == 0) return {};
    return Narrow(buffer);
}

TEST(TurkishLocaleNames, SystemAndBuiltInNamesAgree) {
    const TurkishCalendarNames& builtIn = BuiltInTurkishCalendarNames();
    for (int m = 0; m < 12; ++m) EXPECT_EQ(SystemName(LOCALE_SMONTHNAME1 + m), builtIn.months[m]) << "month " << m + 1;
    EXPECT_EQ(SystemName(LOCALE_SDAYNAME7), builtIn.weekdays[0]);
    for (int d = 1; d < 7; ++d) EXPECT_EQ(SystemName(LOCALE_SDAYNAME1 + d - 1), builtIn.weekdays[d]) << "day " << d;

    const TurkishCalendarNames read = ReadTurkishCalendarNames();
    EXPECT_EQ(read.months, builtIn.months);
    EXPECT_EQ(read.weekdays, builtIn.weekdays);
}

}  // namespace
}  // namespace nimbo::testing
