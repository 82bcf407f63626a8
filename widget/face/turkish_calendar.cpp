// The Gregorian date line in Turkish.
#include "widget/face/turkish_calendar.h"

namespace nimbo {

const TurkishCalendarNames& BuiltInTurkishCalendarNames() {
    static const TurkishCalendarNames names{
        {"Ocak", "Şubat", "Mart", "Nisan", "Mayıs", "Haziran", "Temmuz", "Ağustos", "Eylül", "Ekim", "Kasım", "Aralık"},
        {"Pazar", "Pazartesi", "Salı", "Çarşamba", "Perşembe", "Cuma", "Cumartesi"},
    };
    return names;
}

std::string GregorianDateLine(ConnectionState state, const SystemTime& today, const TurkishCalendarNames& names) {
    if (state != ConnectionState::Succeeded || !IsValidDate(today.year, today.month, today.day)) return {};
    const int weekday = WeekdayOfDayNumber(DayNumber(today.year, today.month, today.day));
    return std::to_string(today.day) + " " + names.months[today.month - 1] + " " + std::to_string(today.year) + " " +
           names.weekdays[weekday];
}

}  // namespace nimbo
