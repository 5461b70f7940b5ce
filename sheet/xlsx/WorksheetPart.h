#pragma once

#include "sheet/formula/CellFormulas.h"
#include "sheet/model/Workbook.h"
#include "sheet/xlsx/ConditionalFormats.h"
#include "sheet/xlsx/Hyperlinks.h"
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
    const formula::SheetFormulas* formulas = nullptr; // the sheet's formulas in the A1 grammar
    int sheetIndex = 0;
    const SheetHyperlinks* hyperlinks = nullptr;
    DifferentialStyles* differentialStyles = nullptr; // the conditional formats' looks, gathered for the styles part
    int* conditionalPriority = nullptr;                // the priority of the workbook's last conditional rule
    std::string legacyDrawing; // the relationship id of the VML drawing of its comments; empty for none
};

// The worksheet part of a sheet (xl/worksheets/sheetN.xml): its cells with their values (a formula
// cell's formula with its stored result), styles, merged areas, column widths, row heights and hidden
// rows, and its view.
std::string worksheetPart(const model::Workbook& workbook, const model::Sheet& sheet, const WorksheetContext& context);

} // namespace sheet::xlsx
