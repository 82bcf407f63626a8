// Turkish month and weekday names and the Gregorian date line ("8 Aralık 2026 Salı").
#pragma once

#include <array>
#include <string>

#include "widget/connection_state.h"
#include "widget/system_time.h"

namespace nimbo {

struct TurkishCalendarNames {
    std::array<std::string, 12> months;   // January first
    std::array<std::string, 7> weekdays;  // Sunday first
};

// The names the Turkish locale gives; used where the system has no Turkish locale or returns nothing.
const TurkishCalendarNames& BuiltInTurkishCalendarNames();

// "%d %s %d %s": day, month name, year, weekday name of `today` (the weekday is worked out from the date).
// Empty while the last download did not succeed, and for a date that does not exist.
std::string GregorianDateLine(ConnectionState state, const SystemTime& today, const TurkishCalendarNames& names);

}  // namespace nimbo
