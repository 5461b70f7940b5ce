#include "sheet/xlsx/ChartElements.h"

#include "sheet/layout/CellText.h"
#include "sheet/model/A1Notation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <variant>

namespace sheet::xlsx::charts {
namespace {

std::string absoluteCell(int row, int column)
{
    const std::string address = model::cellAddress(row, column);
    const std::size_t digits = address.find_first_of("0123456789");
    return "$" + address.substr(0, digits) + "$" + address.substr(digits);
}

long long pointCount(const model::CellRange& range)
{
    return static_cast<long long>(range.lastRow - range.firstRow + 1) * (range.lastColumn - range.firstColumn + 1);
}

// What a cell shows, without the paddings and fills of its format; a text as it is.
std::string shownText(const model::Workbook& workbook, const layout::CellText& cellText, const model::Cell& cell)
{
    if (cell.isText())
        return std::get<std::string>(workbook.value(cell));
    std::string text;
    for (const format::Piece& piece : cellText.formatted(cell).pieces)
        if (piece.kind == format::Piece::Kind::Text)
            text += piece.text;
    return QString::fromStdString(text).trimmed().toStdString();
}

// The width of a line of a weight, in EMU: hairline, narrow, medium, wide.
int lineWidth(int weight)
{
    constexpr int widths[] = {3175, 9525, 19050, 28575};
    return widths[std::clamp(weight, -1, 2) + 1];
}

const char* dashName(model::ChartLine::Dash dash)
{
    switch (dash) {
    case model::ChartLine::Dash::Dash: return "dash";
    case model::ChartLine::Dash::Dot: return "sysDot";
    case model::ChartLine::Dash::DashDot: return "dashDot";
    case model::ChartLine::Dash::DashDotDot: return "sysDashDotDot";
    case model::ChartLine::Dash::Solid: break;
    }
    return "solid";
}

} // namespace

std::string rgbText(model::Rgb colour)
{
    std::array<char, 7> digits{};
    std::snprintf(digits.data(), digits.size(), "%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return digits.data();
}

void writeFill(XmlPart& xml, std::optional<model::Rgb> colour)
{
    if (!colour) {
        xml.empty("a:noFill");
        return;
    }
    xml.start("a:solidFill");
    xml.value("a:srgbClr", rgbText(*colour));
    xml.end();
}

std::optional<model::Rgb> shownFill(const model::ChartFill& fill, model::Rgb automatic)
{
    switch (fill.kind) {
    case model::ChartFill::Kind::Solid: return fill.colour;
    case model::ChartFill::Kind::None: return std::nullopt;
    case model::ChartFill::Kind::Automatic: break;
    }
    return automatic;
}

void writeLine(XmlPart& xml, const model::ChartLine& line)
{
    if (line.kind == model::ChartLine::Kind::Automatic)
        return;
    xml.start("a:ln");
    if (line.kind == model::ChartLine::Kind::None) {
        xml.empty("a:noFill");
    } else {
        xml.attribute("w", lineWidth(line.weight));
        writeFill(xml, line.colour);
        xml.value("a:prstDash", dashName(line.dash));
    }
    xml.end();
}

model::Rgb colourOf(const model::ChartText& text)
{
    return text.colour.value_or(Black);
}

void writeRunProperties(XmlPart& xml, const char* name, const model::Font& font, model::Rgb colour)
{
    xml.start(name);
    xml.attribute("sz", std::clamp(font.height, 20, 8180) * 100 / 20);
    xml.attribute("b", font.bold() ? 1 : 0);
    xml.attribute("i", font.italic ? 1 : 0);
    writeFill(xml, colour);
    xml.empty("a:latin");
    xml.attribute("typeface", font.name.empty() ? std::string_view("Arial") : std::string_view(font.name));
    xml.end();
}

void writeTextBody(XmlPart& xml, const char* name, const model::Font& font, model::Rgb colour, const QString* text)
{
    xml.start(name);
    xml.empty("a:bodyPr");
    if (!text)
        xml.attribute("wrap", "none");
    xml.empty("a:lstStyle");
    xml.start("a:p");
    xml.start("a:pPr");
    writeRunProperties(xml, "a:defRPr", font, colour);
    xml.end();
    if (text) {
        xml.start("a:r");
        writeRunProperties(xml, "a:rPr", font, colour);
        xml.text("a:t", *text);
        xml.end();
    } else {
        xml.empty("a:endParaRPr");
        xml.attribute("lang", "en-US");
    }
    xml.end();
    xml.end();
}

void writeTitle(XmlPart& xml, const model::ChartText& title)
{
    const model::Rgb colour = colourOf(title);
    xml.start("c:title");
    xml.start("c:tx");
    xml.start("c:rich");
    xml.empty("a:bodyPr");
    xml.empty("a:lstStyle");
    xml.start("a:p");
    xml.start("a:pPr");
    writeRunProperties(xml, "a:defRPr", title.font, colour);
    xml.end();
    for (const model::TextRun& run : title.runs) {
        if (run.text.empty())
            continue;
        xml.start("a:r");
        writeRunProperties(xml, "a:rPr", run.font.value_or(title.font), colour);
        xml.text("a:t", run.text);
        xml.end();
    }
    xml.end();
    xml.end();
    xml.end();
    xml.value("c:overlay", 0);
    xml.end();
}

const model::Sheet* sheetOf(const model::Workbook& workbook, const model::RangeReference& reference)
{
    if (reference.sheet < 0 || static_cast<std::size_t>(reference.sheet) >= workbook.sheets.size())
        return nullptr;
    return &workbook.sheets[static_cast<std::size_t>(reference.sheet)];
}

std::string rangeFormula(const std::string& sheetName, const model::CellRange& range)
{
    std::string quoted;
    for (const char c : sheetName)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    std::string formula = "'" + quoted + "'!" + absoluteCell(range.firstRow, range.firstColumn);
    if (range.lastRow != range.firstRow || range.lastColumn != range.firstColumn)
        formula += ":" + absoluteCell(range.lastRow, range.lastColumn);
    return formula;
}

void writeTextReference(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names,
                        const model::RangeReference& reference)
{
    const model::Sheet* sheet = sheetOf(workbook, reference);
    if (!sheet)
        return;
    const layout::CellText cellText(workbook);
    xml.start("c:strRef");
    xml.text("c:f", rangeFormula(names[static_cast<std::size_t>(reference.sheet)], reference.range));
    xml.start("c:strCache");
    xml.value("c:ptCount", pointCount(reference.range));
    forEachCell(*sheet, reference.range, [&](long long point, const model::Cell& cell) {
        if (cell.isEmpty())
            return;
        xml.start("c:pt");
        xml.attribute("idx", point);
        xml.text("c:v", shownText(workbook, cellText, cell));
        xml.end();
    });
    xml.end();
    xml.end();
}

void writeNumberReference(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names,
                          const model::RangeReference& reference)
{
    const model::Sheet* sheet = sheetOf(workbook, reference);
    if (!sheet)
        return;
    std::string formatCode = "General";
    forEachCell(*sheet, reference.range, [&](long long, const model::Cell& cell) {
        if (formatCode == "General" && cell.number())
            formatCode = workbook.formatCode(cell.xf);
    });
    xml.start("c:numRef");
    xml.text("c:f", rangeFormula(names[static_cast<std::size_t>(reference.sheet)], reference.range));
    xml.start("c:numCache");
    xml.text("c:formatCode", formatCode);
    xml.value("c:ptCount", pointCount(reference.range));
    forEachCell(*sheet, reference.range, [&](long long point, const model::Cell& cell) {
        // A point that holds no finite number is left out, as a gap.
        const std::optional<double> number = cell.number();
        if (!number || !std::isfinite(*number))
            return;
        xml.start("c:pt");
        xml.attribute("idx", point);
        xml.text("c:v", numberText(*number));
        xml.end();
    });
    xml.end();
    xml.end();
}

const char* legendPosition(model::ChartLegend::Place place)
{
    using Place = model::ChartLegend::Place;
    switch (place) {
    case Place::Bottom: return "b";
    case Place::Corner: return "tr";
    case Place::Top: return "t";
    case Place::Left: return "l";
    default: return "r";
    }
}

} // namespace sheet::xlsx::charts
