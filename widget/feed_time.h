// Reading the feed's time texts: full dates such as "Mon, 11 Aug 2008 5:50 am PDT" and times of day such as "5:9 am".
#pragma once

#include <optional>
#include <string_view>

#include "widget/system_time.h"

namespace nimbo {

// 1-12 for "Jan" to "Dec" in any ASCII letter case, -1 otherwise.
int EnglishMonthNumber(std::string_view name);
// 0-6 for "Sun" to "Sat" in any ASCII letter case, -1 otherwise.
int EnglishWeekdayNumber(std::string_view name);

// Reads "day name[,] day month year hour[:]minute am|pm ..." where every part sits in a fixed token place: a
// missing part leaves its field 0 and the later parts are still taken from their places, so "11 Aug 2008 5:50 pm"
// gives year 5 and hour 12. An unknown day or month name is stored as -1 (65535). Numbers keep their low 16 bits.
// Returns false and leaves `t` alone only for an empty text.
bool ParseFeedTime(std::string_view text, SystemTime& t);

struct TimeOfDay {
    int hour = 0;  // 0-23
    int minute = 0;
    int second = 0;
};

// A time of day as the astronomy element gives it: "h:mm am", "h:m pm", "03:07 PM", "17:45", optional seconds,
// blanks around. With am/pm the hour is 0-12 (12 am is midnight); without, 0-23. Anything else: nothing.
std::optional<TimeOfDay> ReadTimeOfDay(std::string_view text);

}  // namespace nimbo
