#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/xlsx/SharedStrings.h"
#include "sheet/xlsx/StyleTable.h"

#include <string>

namespace sheet::xlsx {

// What a worksheet part needs besides the sheet.
struct WorksheetContext {
    const StyleTable& styles;
    SharedStrings& strings;
    bool active = false;     // the workbook opens on this sheet
    bool hasDrawing = false; // the sheet's drawing part is its relationship rId1
    std::string legacyDrawing; // the relationship id of the VML drawing of its comments; empty for none
};

// The worksheet part of a sheet (xl/worksheets/sheetN.xml): its cells with their values (a formula
// cell's stored result), styles, merged areas, column widths, row heights and hidden rows, and its view.
std::string worksheetPart(const model::Workbook& workbook, const model::Sheet& sheet, const WorksheetContext& context);

} // namespace sheet::xlsx
