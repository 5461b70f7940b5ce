#include "sheet/format/DateSerial.h"
#include "sheet/format/SectionWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace sheet::format {

namespace {

constexpr std::array<const char*, 12> monthNames = {"January", "February", "March", "April", "May", "June",
                                                    "July", "August", "September", "October", "November", "December"};
constexpr std::array<const char*, 7> dayNames = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};

std::string padded(long value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*ld", width, value);
    return buffer;
}

std::string named(const char* name, int count)
{
    const std::string full = name;
    if (count == 3)
        return full.substr(0, 3);
    if (count == 5)
        return full.substr(0, 1);
    return full;
}

int subSecondDigits(const FormatSection& section)
{
    for (const Token& token : section.tokens) {
        if (token.kind == Token::Kind::SubSecond)
            return token.count;
    }
    return 0;
}

// The moment a serial stands for, rounded to the finest unit the section shows.
struct Moment {
    long days = 0;
    long hours = 0, minutes = 0, seconds = 0;  // within the day
    long subSeconds = 0;
    long totalHours = 0, totalMinutes = 0, totalSeconds = 0;
};

Moment momentOf(double serial, int subDigits)
{
    const long perSecond = subDigits == 0 ? 1 : subDigits == 1 ? 10 : subDigits == 2 ? 100 : 1000;
    const long perDay = 86400 * perSecond;
    Moment m;
    m.days = static_cast<long>(std::floor(serial));
    long units = std::lround((serial - static_cast<double>(m.days)) * static_cast<double>(perDay));
    if (units >= perDay) {
        ++m.days;
        units -= perDay;
    }
    m.subSeconds = units % perSecond;
    const long secondsOfDay = units / perSecond;
    m.hours = secondsOfDay / 3600;
    m.minutes = secondsOfDay / 60 % 60;
    m.seconds = secondsOfDay % 60;
    m.totalSeconds = m.days * 86400 + secondsOfDay;
    m.totalMinutes = m.totalSeconds / 60;
    m.totalHours = m.totalSeconds / 3600;
    return m;
}

std::string amPm(const std::string& pattern, long hours)
{
    const bool morning = hours < 12;
    if (pattern.size() == 3) {
        const bool lower = pattern.front() == 'a' || pattern.front() == 'p';
        return morning ? (lower ? "a" : "A") : (lower ? "p" : "P");
    }
    return morning ? "AM" : "PM";
}

}  // namespace

void writeDateTime(const FormatSection& section, double serial, FormattedText& out)
{
    if (!(serial >= 0) || serial >= static_cast<double>(lastSerialDay + 1)) {
        out.appendFill("#");
        return;
    }
    const int subDigits = subSecondDigits(section);
    const Moment m = momentOf(serial, subDigits);
    const CalendarDay date = calendarDay(m.days);
    for (const Token& token : section.tokens) {
        switch (token.kind) {
        case Token::Kind::Literal: out.appendText(token.text); break;
        case Token::Kind::Padding: out.appendPadding(token.text); break;
        case Token::Kind::Fill: out.appendFill(token.text); break;
        case Token::Kind::Year:
            out.appendText(token.count <= 2 ? padded(date.year % 100, 2) : padded(date.year, 4));
            break;
        case Token::Kind::Month:
            if (token.count <= 2)
                out.appendText(padded(date.month, token.count));
            else
                out.appendText(named(monthNames[static_cast<std::size_t>(date.month - 1)], token.count));
            break;
        case Token::Kind::Day:
            if (token.count <= 2)
                out.appendText(padded(date.day, token.count));
            else
                out.appendText(named(dayNames[static_cast<std::size_t>(date.weekday)], token.count >= 4 ? 4 : 3));
            break;
        case Token::Kind::Hour: {
            long hours = m.hours;
            if (section.hasAmPm) {
                hours %= 12;
                if (hours == 0)
                    hours = 12;
            }
            out.appendText(padded(hours, std::min(token.count, 2)));
            break;
        }
        case Token::Kind::Minute: out.appendText(padded(m.minutes, std::min(token.count, 2))); break;
        case Token::Kind::Second:
            out.appendText(padded(m.seconds, std::min(token.count, 2)));
            break;
        case Token::Kind::SubSecond: out.appendText("." + padded(m.subSeconds, token.count)); break;
        case Token::Kind::AmPm: out.appendText(amPm(token.text, m.hours)); break;
        case Token::Kind::ElapsedHours: out.appendText(padded(m.totalHours, token.count)); break;
        case Token::Kind::ElapsedMinutes: out.appendText(padded(m.totalMinutes, token.count)); break;
        case Token::Kind::ElapsedSeconds: out.appendText(padded(m.totalSeconds, token.count)); break;
        default: break;
        }
    }
}

}  // namespace sheet::format
