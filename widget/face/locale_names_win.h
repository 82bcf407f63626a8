// The Turkish month and weekday names as the system's Turkish locale spells them.
#pragma once

#include "widget/face/turkish_calendar.h"

namespace nimbo {

// Reads locale 0x041F with GetLocaleInfoW; a name the system does not give keeps the built-in spelling.
TurkishCalendarNames ReadTurkishCalendarNames();

}  // namespace nimbo
