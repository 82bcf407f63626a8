// The Hijri date of a Gregorian day, as the Hijri calendar of Windows gives it, and the Hijri date line.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "widget/connection_state.h"
#include "widget/system_time.h"

namespace nimbo {

struct HijriDate {
    int year = 0;
    int month = 0;  // 1 Muharrem to 12 Zil-hicce
    int day = 0;
};

extern const std::array<const char*, 12> kHijriMonthNames;

// Nothing for a day that does not exist, lies outside the years 100 to 9999 that the system's date type holds,
// or comes before the first day of the Hijri era (18 July 622).
std::optional<HijriDate> GregorianToHijri(int year, int month, int day);

// "%d %s %d": Hijri day, month name and year of `today`. Empty while the last download did not succeed and
// when the day cannot be converted.
std::string HijriDateLine(ConnectionState state, const SystemTime& today);

}  // namespace nimbo
