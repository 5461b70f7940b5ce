#pragma once

#include <QStringView>

#include <optional>

namespace sheet::ods {

// A date value ("2024-01-15" or "2024-01-15T10:30:00.5") as the serial day number that the workbook keeps,
// counted from 30 December 1899 with the day of 29 February 1900 that spreadsheets count; nothing for
// text that is no date.
std::optional<double> dateSerial(QStringView text);

// A time value as a duration ("PT12H30M00S", "-PT1H", "P1DT2H") in days.
std::optional<double> durationDays(QStringView text);

} // namespace sheet::ods
