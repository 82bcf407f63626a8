// SystemTime, the eight 16-bit fields of a Windows system-time record, and the day arithmetic on it.
#pragma once

#include <cstdint>

namespace nimbo {

// Same field order and width as SYSTEMTIME, so the shell can copy one into the other field by field.
struct SystemTime {
    uint16_t year = 0;
    uint16_t month = 0;      // 1-12
    uint16_t dayOfWeek = 0;  // 0 Sunday to 6 Saturday
    uint16_t day = 0;        // 1-31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};
static_assert(sizeof(SystemTime) == 16, "must match the Windows system-time record");

// Days since 1 January 1970 in the proleptic Gregorian calendar. Months outside 1-12 carry into the year, so any
// field values give a number (a clock always gives a real date; this keeps odd input harmless).
int64_t DayNumber(int64_t year, int64_t month, int64_t day);

// 0 Sunday to 6 Saturday.
int WeekdayOfDayNumber(int64_t dayNumber);

bool IsValidDate(int year, int month, int day);

}  // namespace nimbo
