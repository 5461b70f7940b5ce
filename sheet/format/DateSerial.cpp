#include "sheet/format/DateSerial.h"

namespace sheet::format {

namespace {

// Days since 1970-01-01 to a civil date, proleptic Gregorian calendar.
void civilFromDays(long days, int& year, int& month, int& day)
{
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Serial 1 is shown as a Sunday; from 1 March 1900 on that agrees with the calendar.
constexpr long serialOf1970 = 25569;

}  // namespace

CalendarDay calendarDay(long serial)
{
    CalendarDay result;
    result.weekday = static_cast<int>((serial + 6) % 7);
    if (serial <= 0)
        return result;
    if (serial < 60) {
        result.month = serial <= 31 ? 1 : 2;
        result.day = static_cast<int>(serial <= 31 ? serial : serial - 31);
        return result;
    }
    if (serial == 60) {
        result.month = 2;
        result.day = 29;
        return result;
    }
    civilFromDays(serial - serialOf1970, result.year, result.month, result.day);
    return result;
}

}  // namespace sheet::format
