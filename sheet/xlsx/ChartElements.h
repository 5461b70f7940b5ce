#pragma once

#include "sheet/model/Chart.h"
#include "sheet/model/Workbook.h"
#include "sheet/xlsx/XmlPart.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

// The pieces that every chart part is made of: colours, fills, lines and texts in DrawingML, and the
// references of a series with the values they hold.
namespace sheet::xlsx::charts {

using SheetNames = std::vector<std::string>;

inline constexpr model::Rgb Black = 0x000000;
inline constexpr model::Rgb White = 0xFFFFFF;

// "1F497D"
std::string rgbText(model::Rgb colour);
// A solid fill in a colour (a:solidFill), or none (a:noFill).
void writeFill(XmlPart& xml, std::optional<model::Rgb> colour);
// The colour an area shows: its own, none, or for an automatic one, `automatic`.
std::optional<model::Rgb> shownFill(const model::ChartFill& fill, model::Rgb automatic);
// A line's outline (a:ln) with its width, colour and dash; nothing for an automatic line.
void writeLine(XmlPart& xml, const model::ChartLine& line);
model::Rgb colourOf(const model::ChartText& text);

// Run properties (a:defRPr, a:rPr) of a text in a font and colour.
void writeRunProperties(XmlPart& xml, const char* name, const model::Font& font, model::Rgb colour);
// A text body whose paragraphs take the font: c:txPr, or c:rich with `text` as its run. The labels and
// the legend keep to one line, as the chart records draw them.
void writeTextBody(XmlPart& xml, const char* name, const model::Font& font, model::Rgb colour,
                   const QString* text = nullptr);
// A title (c:title) with its runs, each in its own font or the title's.
void writeTitle(XmlPart& xml, const model::ChartText& title);

const model::Sheet* sheetOf(const model::Workbook& workbook, const model::RangeReference& reference);
// 'Assets'!$B$4:$B$9
std::string rangeFormula(const std::string& sheetName, const model::CellRange& range);

// c:strRef and c:numRef: the reference with the texts or the numbers its cells hold.
void writeTextReference(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names,
                        const model::RangeReference& reference);
void writeNumberReference(XmlPart& xml, const model::Workbook& workbook, const SheetNames& names,
                          const model::RangeReference& reference);

const char* legendPosition(model::ChartLegend::Place place);

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

} // namespace sheet::xlsx::charts
