#include "sheet/xlsx/ChartPart.h"

#include "sheet/model/A1Notation.h"
#include "sheet/render/CellText.h"
#include "sheet/xlsx/XmlPart.h"

#include <QColor>
#include <QFont>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <variant>

namespace sheet::xlsx {
namespace {

constexpr const char* ChartNamespace = "http://schemas.openxmlformats.org/drawingml/2006/chart";
constexpr const char* DrawingNamespace = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr const char* RelationshipNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string rgbText(const QColor& colour)
{
    std::array<char, 7> digits{};
    std::snprintf(digits.data(), digits.size(), "%06X", static_cast<unsigned>(colour.rgb() & 0xFFFFFF));
    return digits.data();
}

void writeFill(XmlPart& xml, const QColor& colour)
{
    if (colour.alpha() == 0) {
        xml.empty("a:noFill");
        return;
    }
    xml.start("a:solidFill");
    xml.value("a:srgbClr", rgbText(colour));
    xml.end();
}

// Run properties (a:defRPr, a:rPr) of a text in a font and colour.
void writeRunProperties(XmlPart& xml, const char* name, const QFont& font, const QColor& colour)
{
    xml.start(name);
    xml.attribute("sz", static_cast<int>(std::lround(font.pointSizeF() * 100)));
    xml.attribute("b", font.bold() ? 1 : 0);
    xml.attribute("i", font.italic() ? 1 : 0);
    writeFill(xml, colour);
    xml.empty("a:latin");
    xml.attribute("typeface", font.family());
    xml.end();
}

// A text body whose paragraphs take the font: c:txPr, or c:rich with `text` as its run. The labels and
// the legend keep to one line, as the chart records draw them.
void writeTextBody(XmlPart& xml, const char* name, const QFont& font, const QColor& colour, const QString* text = nullptr)
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

const model::Sheet* sheetOf(const model::Workbook& workbook, const model::RangeReference& reference)
{
    if (reference.sheet < 0 || static_cast<std::size_t>(reference.sheet) >= workbook.sheets.size())
        return nullptr;
    return &workbook.sheets[static_cast<std::size_t>(reference.sheet)];
}

std::string absoluteCell(int row, int column)
{
    const std::string address = model::cellAddress(row, column);
    const std::size_t digits = address.find_first_of("0123456789");
    return "$" + address.substr(0, digits) + "$" + address.substr(digits);
}

// 'Assets'!$B$4:$B$9
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

long long pointCount(const model::CellRange& range)
{
    return static_cast<long long>(range.lastRow - range.firstRow + 1) * (range.lastColumn - range.firstColumn + 1);
}

// Calls `visit(point, cell)` for each cell that the sheet holds in the range, in reading order; a
// point is the cell's place in the range. A range of a whole sheet costs only the cells it holds.
template <typename Visit>
void forEachCell(const model::Sheet& sheet, const model::CellRange& range, Visit visit)
{
    const long long width = range.lastColumn - range.firstColumn + 1;
    for (auto at = sheet.cells.lower_bound({range.firstRow, range.firstColumn});
         at != sheet.cells.end() && at->first.row <= range.lastRow; ++at) {
        const model::CellAddress address = at->first;
        if (address.column >= range.firstColumn && address.column <= range.lastColumn)
            visit((address.row - range.firstRow) * width + (address.column - range.firstColumn), at->second);
    }
}

// What a cell shows, without the paddings and fills of its format; a text as it is.
std::string shownText(const model::Workbook& workbook, const render::CellText& cellText, const model::Cell& cell)
{
    if (cell.isText())
        return std::get<std::string>(workbook.value(cell));
    std::string text;
    for (const format::Piece& piece : cellText.formatted(cell).pieces)
        if (piece.kind == format::Piece::Kind::Text)
            text += piece.text;
    return QString::fromStdString(text).trimmed().toStdString();
}

void writeTextReference(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names,
                        const model::RangeReference& reference)
{
    const model::Sheet* sheet = sheetOf(workbook, reference);
    if (!sheet)
        return;
    const render::CellText cellText(workbook);
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

struct LabelShow {
    bool value = false;
    bool category = false;
    bool percent = false;
    friend bool operator==(const LabelShow&, const LabelShow&) = default;
};

LabelShow labelShow(const render::PieSlice& slice)
{
    return {slice.showValue, slice.showCategory, slice.showPercent};
}

void writeShowFlags(XmlPart& xml, const LabelShow& show, const QString& separator)
{
    xml.value("c:showLegendKey", 0);
    xml.value("c:showVal", show.value ? 1 : 0);
    xml.value("c:showCatName", show.category ? 1 : 0);
    xml.value("c:showSerName", 0);
    xml.value("c:showPercent", show.percent ? 1 : 0);
    xml.value("c:showBubbleSize", 0);
    xml.text("c:separator", separator);
}

// The labels of the first series: what the first slice shows for the whole series, and a label of its
// own for every slice that shows something else.
void writeDataLabels(XmlPart& xml, const render::PieChart& pie)
{
    const bool anyShown = std::any_of(pie.slices.begin(), pie.slices.end(), [](const render::PieSlice& slice) {
        return slice.showValue || slice.showCategory || slice.showPercent;
    });
    if (!anyShown)
        return;
    const LabelShow common = labelShow(pie.slices.front());
    xml.start("c:dLbls");
    for (const render::PieSlice& slice : pie.slices) {
        if (labelShow(slice) == common)
            continue;
        xml.start("c:dLbl");
        xml.value("c:idx", static_cast<int>(slice.point));
        writeTextBody(xml, "c:txPr", pie.labelFont, pie.labelColour);
        writeShowFlags(xml, labelShow(slice), pie.labelSeparator);
        xml.end();
    }
    writeTextBody(xml, "c:txPr", pie.labelFont, pie.labelColour);
    writeShowFlags(xml, common, pie.labelSeparator);
    xml.value("c:showLeaderLines", pie.leaderLines ? 1 : 0);
    xml.end();
}

void writeSeries(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names, const model::ChartSeries& series,
                 int index, const render::PieChart* pie)
{
    xml.start("c:ser");
    xml.value("c:idx", index);
    xml.value("c:order", index);
    if (series.name) {
        xml.start("c:tx");
        writeTextReference(xml, workbook, names, *series.name);
        xml.end();
    }
    if (pie) {
        for (const render::PieSlice& slice : pie->slices) {
            xml.start("c:dPt");
            xml.value("c:idx", static_cast<int>(slice.point));
            if (slice.explode > 0)
                xml.value("c:explosion", static_cast<int>(std::lround(slice.explode * 100)));
            xml.start("c:spPr");
            writeFill(xml, slice.colour);
            xml.end();
            xml.end();
        }
        if (!pie->slices.empty())
            writeDataLabels(xml, *pie);
    }
    if (series.categories) {
        xml.start("c:cat");
        writeTextReference(xml, workbook, names, *series.categories);
        xml.end();
    }
    if (series.values) {
        xml.start("c:val");
        writeNumberReference(xml, workbook, names, *series.values);
        xml.end();
    }
    xml.end();
}

const char* legendPosition(render::PieChart::LegendPlace place)
{
    using Place = render::PieChart::LegendPlace;
    switch (place) {
    case Place::Bottom: return "b";
    case Place::Corner: return "tr";
    case Place::Top: return "t";
    case Place::Left: return "l";
    default: return "r";
    }
}

// A flat pie keeps its plot area. A 3-D pie's is left to the reader: LibreOffice draws a 3-D pie past
// the plot area it is given, out of the chart, and places it itself when it reads the chart records.
void writePlotLayout(XmlPart& xml, const render::PieChart& pie)
{
    xml.start("c:layout");
    if (pie.plotArea && !pie.threeD) {
        xml.start("c:manualLayout");
        xml.value("c:layoutTarget", "inner");
        xml.value("c:xMode", "edge");
        xml.value("c:yMode", "edge");
        xml.value("c:x", pie.plotArea->x());
        xml.value("c:y", pie.plotArea->y());
        xml.value("c:w", pie.plotArea->width());
        xml.value("c:h", pie.plotArea->height());
        xml.end();
    }
    xml.end();
}

} // namespace

std::string chartPart(const model::Workbook& workbook, const SheetNames& names, const model::Chart& chart,
                      const render::PieChart& pie)
{
    XmlPart xml("c:chartSpace", {{"c", ChartNamespace}, {"a", DrawingNamespace}, {"r", RelationshipNamespace}});
    xml.value("c:roundedCorners", 0);
    xml.start("c:chart");
    if (!pie.title.isEmpty()) {
        xml.start("c:title");
        xml.start("c:tx");
        writeTextBody(xml, "c:rich", pie.titleFont, pie.titleColour, &pie.title);
        xml.end();
        xml.value("c:overlay", 0);
        xml.end();
    }
    xml.value("c:autoTitleDeleted", pie.title.isEmpty() ? 1 : 0);
    if (pie.threeD) {
        xml.start("c:view3D");
        xml.value("c:rotX", static_cast<int>(std::lround(pie.elevation)));
        xml.value("c:hPercent", static_cast<int>(std::lround(pie.heightPercent)));
        xml.value("c:rotY", static_cast<int>(std::lround(pie.firstSliceAngle)) % 360);
        xml.value("c:depthPercent", 100);
        xml.value("c:rAngAx", 0);
        xml.value("c:perspective", 0);
        xml.end();
    }
    xml.start("c:plotArea");
    writePlotLayout(xml, pie);
    xml.start(pie.threeD ? "c:pie3DChart" : "c:pieChart");
    xml.value("c:varyColors", 1);
    for (std::size_t k = 0; k < chart.series.size(); ++k)
        writeSeries(xml, workbook, names, chart.series[k], static_cast<int>(k), k == 0 ? &pie : nullptr);
    if (!pie.threeD)
        xml.value("c:firstSliceAng", static_cast<int>(std::lround(pie.firstSliceAngle)) % 360);
    xml.end();
    if (pie.plotBackground) {
        xml.start("c:spPr");
        writeFill(xml, *pie.plotBackground);
        xml.end();
    }
    xml.end();
    if (pie.legend) {
        xml.start("c:legend");
        xml.value("c:legendPos", legendPosition(*pie.legend));
        xml.value("c:overlay", 0);
        writeTextBody(xml, "c:txPr", pie.legendFont, Qt::black);
        xml.end();
    }
    xml.value("c:plotVisOnly", 1);
    xml.value("c:dispBlanksAs", "gap");
    xml.end();

    xml.start("c:spPr");
    writeFill(xml, pie.background);
    xml.start("a:ln");
    if (pie.border)
        writeFill(xml, *pie.border);
    else
        xml.empty("a:noFill");
    xml.end();
    xml.end();
    return xml.finish();
}

} // namespace sheet::xlsx
