#pragma once

namespace sheet::format {

// A calendar day of the 1900 date system, where day 1 is 1 January 1900 and,
// as spreadsheets have always counted, day 60 is 29 February 1900.
struct CalendarDay {
    int year = 1900;
    int month = 1;    // 1..12
    int day = 0;      // day 0 of January 1900 is serial 0
    int weekday = 0;  // 0 = Sunday
};

// The day of a whole serial number; valid from 0 to 2958465 (31 December 9999).
CalendarDay calendarDay(long serial);

constexpr long lastSerialDay = 2958465;

}  // namespace sheet::format
