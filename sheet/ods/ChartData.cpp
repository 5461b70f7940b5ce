#include "sheet/ods/ChartData.h"

#include "sheet/ods/CellAddresses.h"
#include "sheet/ods/Lengths.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <cstdio>
#include <variant>

namespace sheet::ods::charts {

std::optional<std::string> rangeOf(const SheetNames& names, const std::optional<model::RangeReference>& ref)
{
    if (!ref || ref->sheet < 0 || static_cast<std::size_t>(ref->sheet) >= names.size())
        return std::nullopt;
    return odfRangeAddress(names[static_cast<std::size_t>(ref->sheet)], ref->range);
}

QString textOf(const model::Workbook& workbook, const model::Cell* cell)
{
    if (!cell)
        return {};
    const CellValue value = workbook.value(*cell);
    if (const auto* text = std::get_if<std::string>(&value))
        return QString::fromStdString(*text);
    if (const auto* number = std::get_if<double>(&value))
        return QString::fromStdString(decimal(*number));
    if (const auto* logical = std::get_if<bool>(&value))
        return *logical ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (const auto* error = std::get_if<ErrorCode>(&value))
        return QString::fromLatin1(model::errorText(*error));
    return {};
}

// The cells of a reference in reading order.
std::vector<const model::Cell*> cellsOf(const model::Workbook& workbook, const std::optional<model::RangeReference>& ref)
{
    std::vector<const model::Cell*> cells;
    if (!ref || ref->sheet < 0 || static_cast<std::size_t>(ref->sheet) >= workbook.sheets.size())
        return cells;
    const model::Sheet& sheet = workbook.sheets[static_cast<std::size_t>(ref->sheet)];
    const model::CellRange& r = ref->range;
    for (int row = r.firstRow; row <= r.lastRow; ++row)
        for (int column = r.firstColumn; column <= r.lastColumn; ++column)
            cells.push_back(sheet.cell(row, column));
    return cells;
}

QString quotedName(const std::string& name)
{
    QString quoted = QString::fromStdString(name);
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// "#rrggbb"
QString colourName(model::Rgb colour)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%06x", static_cast<unsigned>(colour & 0xFFFFFF));
    return QString::fromLatin1(text.data());
}

model::Rgb colourOf(const model::ChartText& text)
{
    return text.colour.value_or(Black);
}

void writeFont(QXmlStreamWriter& xml, const model::Font& font, model::Rgb colour)
{
    xml.writeStartElement("style:text-properties");
    xml.writeAttribute("fo:font-family", QString::fromStdString(font.name.empty() ? std::string("Arial") : font.name));
    const QString size = QString::fromStdString(points(std::clamp(font.height, 20, 8180) / 20.0));
    xml.writeAttribute("fo:font-size", size);
    xml.writeAttribute("fo:font-weight", font.bold() ? "bold" : "normal");
    xml.writeAttribute("fo:font-style", font.italic ? "italic" : "normal");
    xml.writeAttribute("fo:color", colourName(colour));
    xml.writeEndElement();
}

void startStyle(QXmlStreamWriter& xml, const QString& name)
{
    xml.writeStartElement("style:style");
    xml.writeAttribute("style:name", name);
    xml.writeAttribute("style:family", "chart");
}

void writeCategoryCell(QXmlStreamWriter& xml, const model::Workbook& workbook,
                       const std::vector<const model::Cell*>& categories, std::size_t point)
{
    xml.writeStartElement(QStringLiteral("table:table-cell"));
    xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("string"));
    xml.writeTextElement(QStringLiteral("text:p"),
                         point < categories.size() ? textOf(workbook, categories[point]) : QString::number(point + 1));
    xml.writeEndElement();
}

void writeValueCell(QXmlStreamWriter& xml, const model::Cell* cell)
{
    xml.writeStartElement(QStringLiteral("table:table-cell"));
    const std::optional<double> number = cell ? cell->number() : std::nullopt;
    if (number && std::isfinite(*number)) {
        const QString text = QString::fromStdString(decimal(*number));
        xml.writeAttribute(QStringLiteral("office:value-type"), QStringLiteral("float"));
        xml.writeAttribute(QStringLiteral("office:value"), text);
        xml.writeTextElement(QStringLiteral("text:p"), text);
    }
    xml.writeEndElement();
}

} // namespace sheet::ods::charts
