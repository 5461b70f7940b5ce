#include "sheet/ods/CellValues.h"

#include "sheet/format/DateSerial.h"
#include "sheet/format/FormatParser.h"
#include "sheet/ods/Lengths.h"

#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace sheet::ods {
namespace {

using format::Token;

constexpr long LeapDayOf1900 = 60; // 29 February 1900, a day that only spreadsheets count
constexpr double SecondsPerDay = 86400;

bool hasDate(const format::FormatSection& section)
{
    for (const Token& token : section.tokens)
        if (token.kind == Token::Kind::Year || token.kind == Token::Kind::Month || token.kind == Token::Kind::Day)
            return true;
    return false;
}

// Whole seconds and milliseconds of a time of day or a duration, as "HH:MM:SS" or "HH:MM:SS.sss"
// (hours as many as it takes).
std::string clockText(long long milliseconds, bool duration)
{
    const long long seconds = milliseconds / 1000;
    char text[64];
    if (duration)
        std::snprintf(text, sizeof text, "PT%02lldH%02lldM%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    std::string clock = text;
    if (milliseconds % 1000) {
        std::snprintf(text, sizeof text, ".%03lld", milliseconds % 1000);
        clock += text;
    }
    return duration ? clock + "S" : clock;
}

} // namespace

CellValues::CellValues(const model::Workbook& workbook)
{
    std::unordered_map<int, Kind> byFormat;
    kinds_.reserve(workbook.xfs.size());
    for (const model::Xf& xf : workbook.xfs) {
        auto [found, added] = byFormat.try_emplace(xf.formatIndex, Kind::Float);
        if (added) {
            const std::vector<format::FormatSection> sections = format::parseFormatCode(workbook.formats.code(xf.formatIndex));
            // The first section shows the positive numbers, which are the only dates.
            if (!sections.empty() && sections.front().isDateTime && !sections.front().condition)
                found->second = hasDate(sections.front()) ? Kind::Date : Kind::Time;
        }
        kinds_.push_back(found->second);
    }
}

CellValues::Kind CellValues::kindOf(int xf) const
{
    return xf >= 0 && static_cast<std::size_t>(xf) < kinds_.size() ? kinds_[static_cast<std::size_t>(xf)] : Kind::Float;
}

void CellValues::write(QXmlStreamWriter& xml, const CellValue& value, int xf, bool formulaWritten,
                       const std::function<void()>& beforeText) const
{
    if (const auto* number = std::get_if<double>(&value)) {
        if (std::isfinite(*number)) {
            writeNumber(xml, *number, kindOf(xf));
            if (beforeText)
                beforeText();
        } else {
            writeErrorValue(xml, ErrorCode::Number, formulaWritten, beforeText);
        }
    } else if (const auto* logical = std::get_if<bool>(&value)) {
        xml.writeAttribute("office:value-type", "boolean");
        xml.writeAttribute("office:boolean-value", *logical ? "true" : "false");
        if (beforeText)
            beforeText();
        xml.writeTextElement("text:p", *logical ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    } else if (const auto* error = std::get_if<ErrorCode>(&value)) {
        writeErrorValue(xml, *error, formulaWritten, beforeText);
    } else if (beforeText) {
        beforeText();
    }
}

void CellValues::writeNumber(QXmlStreamWriter& xml, double number, Kind kind) const
{
    const long day = static_cast<long>(std::floor(number));
    const bool dated = number >= 0 && number <= format::lastSerialDay + 1.0 && day != LeapDayOf1900;
    if (kind == Kind::Float || !dated) {
        const QString text = QString::fromStdString(decimal(number));
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("float"));
        xml.writeAttribute(QStringLiteral("office:value"), text);
        return;
    }
    const auto milliseconds = static_cast<long long>(std::llround(number * SecondsPerDay * 1000));
    if (kind == Kind::Time) {
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("time"));
        xml.writeAttribute(QStringLiteral("office:time-value"), QString::fromStdString(clockText(milliseconds, true)));
        return;
    }
    const long long perDay = static_cast<long long>(SecondsPerDay) * 1000;
    const format::CalendarDay date = format::calendarDay(static_cast<long>(milliseconds / perDay));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    std::string value = text;
    if (milliseconds % perDay)
        value += "T" + clockText(milliseconds % perDay, false);
    xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("date"));
    xml.writeAttribute(QStringLiteral("office:date-value"), QString::fromStdString(value));
}

void writeErrorValue(QXmlStreamWriter& xml, ErrorCode code, bool formulaWritten, const std::function<void()>& beforeText)
{
    const QString text = QString::fromLatin1(model::errorText(code));
    if (!formulaWritten)
        xml.writeAttribute(QStringLiteral("table:formula"), QStringLiteral("of:=") + text);
    xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
    xml.writeAttribute(QStringLiteral("office:string-value"), QString());
    xml.writeAttribute(QStringLiteral("calcext:value-type"), QStringLiteral("error"));
    if (beforeText)
        beforeText();
    xml.writeTextElement(QStringLiteral("text:p"), text);
}

} // namespace sheet::ods
