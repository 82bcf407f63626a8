// The arithmetic Hijri calendar of Windows, done here because Wine's automation date functions ignore the Hijri flag.
#include "widget/face/hijri_calendar.h"

#include <cstdint>

namespace nimbo {

const std::array<const char*, 12> kHijriMonthNames = {
    "Muharrem", "Safer", "Rebîü'l-evvel", "Rebîü'l-âhir", "Cemâziye'l-evvel", "Cemâziye'l-âhir",
    "Recep",    "Şaban", "Ramazân",       "Şevval",       "Zil-ka'de",        "Zil-hicce",
};

namespace {

// The tabular (arithmetic) Hijri calendar that Windows uses, without the user's day adjustment (0 by default):
// - 1 Muharram of year 1 is Thursday 15 July 622 of the Julian calendar, 18 July 622 proleptic Gregorian
//   (the "astronomical" epoch, one day before the "civil" Friday epoch of other tables);
// - months alternate 30 and 29 days starting with 30; Zil-hicce has 30 days in a leap year;
// - in each cycle of 30 years, years 2, 5, 7, 10, 13, 16, 18, 21, 24, 26 and 29 are leap years of 355 days,
//   the others have 354, so a cycle has 10631 days; year y is a leap year when (11y + 14) mod 30 < 11.
constexpr int kDaysPerCycle = 10631;

bool IsHijriLeapYear(int year) { return (11 * year + 14) % 30 < 11; }

int DaysInHijriMonth(int year, int month) {
    if (month == 12) return IsHijriLeapYear(year) ? 30 : 29;
    return month % 2 == 1 ? 30 : 29;
}

}  // namespace

std::optional<HijriDate> GregorianToHijri(int year, int month, int day) {
    if (year < 100 || year > 9999 || !IsValidDate(year, month, day)) return std::nullopt;
    int64_t daysSinceEpoch = DayNumber(year, month, day) - DayNumber(622, 7, 18);
    if (daysSinceEpoch < 0) return std::nullopt;

    HijriDate hijri;
    hijri.year = static_cast<int>(daysSinceEpoch / kDaysPerCycle) * 30 + 1;
    int rest = static_cast<int>(daysSinceEpoch % kDaysPerCycle);
    while (rest >= 354 + (IsHijriLeapYear(hijri.year) ? 1 : 0)) {
        rest -= 354 + (IsHijriLeapYear(hijri.year) ? 1 : 0);
        ++hijri.year;
    }
    hijri.month = 1;
    while (rest >= DaysInHijriMonth(hijri.year, hijri.month)) {
        rest -= DaysInHijriMonth(hijri.year, hijri.month);
        ++hijri.month;
    }
    hijri.day = rest + 1;
    return hijri;
}

std::string HijriDateLine(ConnectionState state, const SystemTime& today) {
    if (state != ConnectionState::Succeeded) return {};
    const std::optional<HijriDate> hijri = GregorianToHijri(today.year, today.month, today.day);
    if (!hijri) return {};
    return std::to_string(hijri->day) + " " + kHijriMonthNames[hijri->month - 1] + " " + std::to_string(hijri->year);
}

}  // namespace nimbo
