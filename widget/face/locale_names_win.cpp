// Turkish calendar names from GetLocaleInfoW, filled once when the main window is created.
#include "widget/face/locale_names_win.h"

#include <windows.h>

#include <string>

#include "base/wide_text_win.h"

namespace nimbo {
namespace {

constexpr LCID kTurkishLocale = 0x041F;  // Turkish, default sublanguage and sort

void ReadName(LCTYPE type, std::string& name) {
    wchar_t buffer[512] = {};
    if (GetLocaleInfoW(kTurkishLocale, type, buffer, 512) > 1) name = Narrow(buffer);
}

}  // namespace

TurkishCalendarNames ReadTurkishCalendarNames() {
    TurkishCalendarNames names = BuiltInTurkishCalendarNames();
    for (int m = 0; m < 12; ++m) ReadName(LOCALE_SMONTHNAME1 + m, names.months[m]);
    // The locale counts weekdays from Monday (SDAYNAME1) and ends with Sunday (SDAYNAME7).
    ReadName(LOCALE_SDAYNAME7, names.weekdays[0]);
    for (int d = 1; d < 7; ++d) ReadName(LOCALE_SDAYNAME1 + d - 1, names.weekdays[d]);
    return names;
}

}  // namespace nimbo
