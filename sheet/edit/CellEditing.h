#pragma once

#include "sheet/input/NumberLocale.h"
#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <string>
#include <string_view>

namespace sheet::edit {

// Checks a 0-based cell position; an ArgumentError names the row or column that lies outside the sheet.
void checkPosition(int row, int column);

// The worksheet at `sheetIndex`; an ArgumentError when there is none or it is not a worksheet.
model::Sheet& worksheet(model::Workbook& workbook, int sheetIndex);

// Writes a typed text into a cell (see readTypedInput). The empty text empties the cell and keeps its
// format. A value written directly below a chart's data range, the empty text included, extends that
// range (see ChartRanges.h). A cell in part of an array formula or a data table is refused (see
// releaseFormulaCell).
void writeCellText(model::Workbook& workbook, int sheetIndex, int row, int column, std::string_view text,
                   const NumberLocale& locale);

// Gives the cell the number format `code`: a built-in or existing format with that exact code, else a
// new one; the cell gets a copy of its XF with that format (or an existing XF that is such a copy).
void setCellNumberFormat(model::Workbook& workbook, int sheetIndex, int row, int column, std::string_view code);

// The XF a cell has, or would have when written: the row's or column's format when it has none.
int cellXf(const model::Sheet& sheet, int row, int column);

// From the first to the last row and column holding a value or a format other than the default;
// A1 alone for an empty sheet.
model::CellRange usedRange(const model::Sheet& sheet);

} // namespace sheet::edit
