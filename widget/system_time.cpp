// Proleptic Gregorian day numbers, the common ground of the calendars and the moon.
#include "widget/system_time.h"

namespace nimbo {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int64_t DayNumber(int64_t year, int64_t month, int64_t day) {
    // Normalise the month first; then count from 1 March so that the leap day ends the year.
    year += FloorDiv(month - 1, 12);
    month = (month - 1) - FloorDiv(month - 1, 12) * 12 + 1;
    if (month <= 2) year -= 1;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int WeekdayOfDayNumber(int64_t dayNumber) {
    // 1 January 1970 was a Thursday.
    return static_cast<int>(dayNumber + 4 - FloorDiv(dayNumber + 4, 7) * 7);
}

bool IsValidDate(int year, int month, int day) {
    static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    const int last = kDaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return day <= last;
}

}  // namespace nimbo
