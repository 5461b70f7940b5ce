#include "sheet/ods/CellDates.h"

#include <QList>
#include <QString>

#include <cmath>

namespace sheet::ods {
namespace {

// Days from 1970-01-01 to a day of the proleptic Gregorian calendar.
long long daysFromCivil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

constexpr long long SerialZero = -25569; // 1899-12-30 from 1970-01-01
constexpr double LeapDayOf1900 = 60;

} // namespace

std::optional<double> dateSerial(QStringView text)
{
    const qsizetype t = text.indexOf(u'T');
    const QStringView date = t < 0 ? text : text.left(t);
    const auto parts = date.split(u'-');
    if (parts.size() != 3)
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    const long long year = parts[0].toLongLong(&ok1);
    const int month = parts[1].toInt(&ok2);
    const int day = parts[2].toInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || month < 1 || month > 12 || day < 1 || day > 31 || year < -9999 || year > 9999)
        return std::nullopt;
    double serial = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - SerialZero);
    // Days before 1 March 1900 stand one lower, as the file format's count has a 29 February 1900.
    if (serial < LeapDayOf1900 + 1 && serial > 0)
        serial -= 1;
    if (t >= 0) {
        const auto clock = text.mid(t + 1).split(u':');
        if (clock.size() >= 2) {
            const double seconds = clock[0].toDouble() * 3600 + clock[1].toDouble() * 60 + (clock.size() > 2 ? clock[2].toDouble() : 0);
            serial += seconds / 86400;
        }
    }
    return serial;
}

std::optional<double> durationDays(QStringView text)
{
    bool negative = false;
    if (text.startsWith(u'-')) {
        negative = true;
        text = text.mid(1);
    }
    if (!text.startsWith(u'P'))
        return std::nullopt;
    double days = 0;
    QString number;
    bool inTime = false;
    for (qsizetype k = 1; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c.isDigit() || c == u'.') {
            number += c;
            continue;
        }
        const double value = number.toDouble();
        number.clear();
        if (c == u'T')
            inTime = true;
        else if (c == u'D')
            days += value;
        else if (c == u'H' && inTime)
            days += value / 24;
        else if (c == u'M' && inTime)
            days += value / 1440;
        else if (c == u'S' && inTime)
            days += value / 86400;
        else
            return std::nullopt;
    }
    if (!std::isfinite(days))
        return std::nullopt;
    return negative ? -days : days;
}

} // namespace sheet::ods
