// The age of the shown weather in words and its staleness.
#include "widget/face/weather_age.h"

#include <algorithm>

namespace nimbo {
namespace {

constexpr int64_t kMinutesPerDay = 24 * 60;
constexpr int64_t kShortestStaleMinutes = 60;
constexpr int64_t kStaleWithoutRefreshMinutes = 3 * 60;

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

int64_t DayOf(const SystemTime& time) { return DayNumber(time.year, time.month, time.day); }

}  // namespace

int64_t MinutesBetween(const SystemTime& from, const SystemTime& to) {
    const auto minuteOf = [](const SystemTime& t) { return DayOf(t) * kMinutesPerDay + t.hour * 60 + t.minute; };
    return minuteOf(to) - minuteOf(from);
}

std::string ClockText(const SystemTime& time) { return TwoDigits(time.hour) + ":" + TwoDigits(time.minute); }

std::string LastUpdateLine(const SystemTime& received, const SystemTime& now, const TurkishCalendarNames& names) {
    std::string line = "Son güncelleme: ";
    const int64_t daysAgo = DayOf(now) - DayOf(received);
    if (daysAgo == 1) {
        line += "dün ";
    } else if (daysAgo != 0 && received.month >= 1 && received.month <= 12) {
        line += std::to_string(received.day) + " " + names.months[received.month - 1u] + " ";
    }
    return line + ClockText(received);
}

int64_t StaleAfterMinutes(const WidgetSettings& settings) {
    if (!settings.autoUpdate) return kStaleWithoutRefreshMinutes;
    return std::max<int64_t>(kShortestStaleMinutes, 2 * static_cast<int64_t>(settings.updatePeriodMs / 60000));
}

bool IsStale(const SystemTime& received, const SystemTime& now, const WidgetSettings& settings) {
    return MinutesBetween(received, now) > StaleAfterMinutes(settings);
}

}  // namespace nimbo
