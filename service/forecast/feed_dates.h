// Dates and times written the way the old feeds wrote them: "Tue, 08 Dec 2026 9:50 am +0300", "7:14 am".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nimbo::service {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1-12
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// "2026-12-08T09:45" or "2026-12-08" (the upstream's local ISO form, seconds ignored); nothing for anything else.
std::optional<LocalTime> ParseIsoLocal(std::string_view text);

// Minutes from `from` to `to` (negative when `to` is earlier).
int64_t MinutesBetween(const LocalTime& from, const LocalTime& to);

// Seconds since 1970 (UTC) shifted by `offsetSeconds` and broken into a local date and time.
LocalTime LocalTimeAt(int64_t utcSeconds, int offsetSeconds);

// The zone as the feed shows it: an alphabetic abbreviation ("EET", "CEST") as given, else the offset
// ("+0300", "-0930"); upstream abbreviations like "GMT+3" are not trusted.
std::string ZoneText(std::string_view abbreviation, int offsetSeconds);

std::string WeekdayName(const LocalTime& t);                          // "Tue"
std::string FeedDateTime(const LocalTime& t, std::string_view zone);  // "Tue, 08 Dec 2026 9:50 am EET"
std::string FeedClock(const LocalTime& t);                            // "9:05 am", "12:00 pm"
std::string FeedDay(const LocalTime& t);                              // "8 Dec 2026"

}  // namespace nimbo::service
