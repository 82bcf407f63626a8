// How old the shown weather is: the information window's last line, the tray hint's time and when the weather
// counts as stale.
#pragma once

#include <cstdint>
#include <string>

#include "widget/face/turkish_calendar.h"
#include "widget/system_time.h"
#include "widget/widget_settings.h"

namespace nimbo {

// Whole minutes from `from` to `to`, both local times of the machine; negative when the clock went back.
int64_t MinutesBetween(const SystemTime& from, const SystemTime& to);

// "14:32", the Turkish short time format.
std::string ClockText(const SystemTime& time);

// "Son güncelleme: 14:32" for a feed received today, "Son güncelleme: dün 22:10" for yesterday and
// "Son güncelleme: 8 Aralık 22:10" before that (or after today, when the clock went back).
std::string LastUpdateLine(const SystemTime& received, const SystemTime& now, const TurkishCalendarNames& names);

// Minutes after which received weather counts as stale: twice the refresh period, at least an hour; three
// hours when it is not refreshed on its own.
int64_t StaleAfterMinutes(const WidgetSettings& settings);

bool IsStale(const SystemTime& received, const SystemTime& now, const WidgetSettings& settings);

}  // namespace nimbo
