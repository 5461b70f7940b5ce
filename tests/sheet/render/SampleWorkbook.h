#pragma once

#include "sheet/model/Workbook.h"

#include <string>
#include <utility>
#include <vector>

namespace render_testing {

// Slice colours the sample chart asks for, one per data row.
inline constexpr unsigned sliceColours[] = {0x004586, 0xFF420E, 0xFFD320, 0x579D1C, 0x7E0021, 0x83CAFF};
inline constexpr unsigned headerFill = 0x4F81BD;

using Entry = std::pair<std::string, double>;

inline sheet::model::RowInfo rowOf(int height, bool hidden = false)
{
    sheet::model::RowInfo row;
    row.height = height;
    row.hidden = hidden;
    return row;
}

inline sheet::model::Cell cellOf(sheet::model::Workbook& workbook, sheet::model::CellValue value, int xf)
{
    sheet::model::Cell cell;
    workbook.setValue(cell, std::move(value));
    cell.xf = xf;
    return cell;
}

inline sheet::model::ColumnInfo columnsOf(int first, int last, int width, bool hidden = false)
{
    sheet::model::ColumnInfo info;
    info.first = first;
    info.last = last;
    info.width = width;
    info.options = hidden ? sheet::model::ColumnInfo::Hidden : 0;
    return info;
}

inline sheet::model::Font fontOf(const char* name, int height, int weight = 400, int colour = 0x7FFF)
{
    sheet::model::Font font;
    font.name = name;
    font.height = height;
    font.weight = weight;
    font.colorIndex = colour;
    return font;
}

inline sheet::model::DrawingObject chartDrawing(sheet::model::Anchor anchor, int chartIndex)
{
    sheet::model::DrawingObject drawing;
    drawing.anchor = anchor;
    drawing.objectType = 5;
    drawing.chartIndex = chartIndex;
    return drawing;
}

// A workbook laid out like the chart template: a banded table A3:B9 with a
// header, Constantia 11 pt, an accounting format on the amounts, hidden
// gridlines, and a 3-D pie over B4:B9 anchored from C3 to O26.
sheet::model::Workbook sampleWorkbook(const std::vector<Entry>& entries);

std::vector<Entry> sampleEntries();

// Chart records of a pie with the given first angle, explosion and label flags.
std::vector<sheet::model::Record> pieChartRecords(bool threeD, int explodePercent, unsigned labelFlags);

// The chart that records describe, its first series over the sample's cells: the name B3, the values
// B4:B9 and the categories A4:A9 of the workbook's first sheet.
sheet::model::Chart sampleChart(const sheet::model::Workbook& workbook, std::vector<sheet::model::Record> records);

}  // namespace render_testing
