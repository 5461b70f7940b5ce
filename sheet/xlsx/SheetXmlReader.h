#pragma once

#include "sheet/model/Workbook.h"
#include "sheet/xlsx/XlsxPackage.h"
#include "sheet/zip/ZipReader.h"

#include <string>

namespace sheet::xlsx {

// What a worksheet part names by relationship: its drawing, and whether it is the selected sheet.
struct WorksheetLinks {
    std::string drawing; // the relationship id of its drawing, empty when it has none
    bool selected = false;
};

// Reads a worksheet part, streamed, into the workbook's sheet: its cells (their texts through the
// workbook's string table, or as texts of their own), the formulas' texts into `package`, rows,
// columns, merged areas and the view's gridlines. Dates written as dates become serial numbers counted
// from 1900, or from 1904 when `date1904`. Cells beyond the 65,536 rows and 256 columns that the engine
// holds are left out, those with a value counted in XlsxSheet::cellsBeyondTheSheet.
WorksheetLinks readWorksheet(const zip::ZipReader& zip, const std::string& part, bool date1904,
                             std::size_t packageXfCount, model::Workbook& workbook, model::Sheet& sheet,
                             XlsxSheet& package);

} // namespace sheet::xlsx
