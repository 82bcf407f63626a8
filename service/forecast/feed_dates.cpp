// Calendar arithmetic on the proleptic Gregorian calendar, without the C library's time zone state.
#include "service/forecast/feed_dates.h"

#include <cctype>

namespace nimbo::service {
namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Days since 1970-01-01 of a civil date, and back (Howard Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, LocalTime& t) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
}

bool ReadNumber(std::string_view text, size_t pos, size_t length, int& value) {
    if (pos + length > text.size()) return false;
    value = 0;
    for (size_t i = pos; i < pos + length; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::string TwoDigits(int value) {
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::optional<LocalTime> ParseIsoLocal(std::string_view text) {
    LocalTime t;
    if (!ReadNumber(text, 0, 4, t.year) || text.size() < 10 || text[4] != '-' || !ReadNumber(text, 5, 2, t.month) ||
        text[7] != '-' || !ReadNumber(text, 8, 2, t.day)) {
        return std::nullopt;
    }
    if (text.size() > 10) {
        if (text.size() < 16 || text[10] != 'T' || !ReadNumber(text, 11, 2, t.hour) || text[13] != ':' ||
            !ReadNumber(text, 14, 2, t.minute)) {
            return std::nullopt;
        }
    }
    const int monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > monthDays[t.month - 1] || t.hour > 23 || t.minute > 59)
        return std::nullopt;
    return t;
}

int64_t MinutesBetween(const LocalTime& from, const LocalTime& to) {
    const auto minutes = [](const LocalTime& t) {
        return DaysFromCivil(t.year, t.month, t.day) * 1440 + t.hour * 60 + t.minute;
    };
    return minutes(to) - minutes(from);
}

LocalTime LocalTimeAt(int64_t utcSeconds, int offsetSeconds) {
    const int64_t local = utcSeconds + offsetSeconds;
    int64_t days = local / 86400;
    int64_t rest = local % 86400;
    if (rest < 0) rest += 86400, --days;
    LocalTime t;
    CivilFromDays(days, t);
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest % 3600 / 60);
    return t;
}

std::string ZoneText(std::string_view abbreviation, int offsetSeconds) {
    bool alphabetic = abbreviation.size() >= 2 && abbreviation.size() <= 5;
    for (const char c : abbreviation) alphabetic = alphabetic && c >= 'A' && c <= 'Z';
    if (alphabetic) return std::string(abbreviation);
    const int minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / 60;
    return (offsetSeconds < 0 ? "-" : "+") + TwoDigits(minutes / 60) + TwoDigits(minutes % 60);
}

std::string WeekdayName(const LocalTime& t) {
    const int64_t days = DaysFromCivil(t.year, t.month, t.day);
    return kWeekdays[((days % 7) + 11) % 7];  // 1970-01-01 was a Thursday
}

std::string FeedClock(const LocalTime& t) {
    const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
    return std::to_string(hour12) + ":" + TwoDigits(t.minute) + (t.hour < 12 ? " am" : " pm");
}

std::string FeedDateTime(const LocalTime& t, std::string_view zone) {
    return WeekdayName(t) + ", " + TwoDigits(t.day) + " " + kMonths[t.month - 1] + " " + std::to_string(t.year) + " " +
           FeedClock(t) + " " + std::string(zone);
}

std::string FeedDay(const LocalTime& t) {
    return std::to_string(t.day) + " " + kMonths[t.month - 1] + " " + std::to_string(t.year);
}

}  // namespace nimbo::service
