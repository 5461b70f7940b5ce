#pragma once

#include "sheet/biff/GlobalsReader.h"
#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Fills the cells, rows, columns, view and drawings of `sheet` from its `records`, as the globals
// read into `globals` tell. A text with formatting runs of its own is added to the string table.
void readWorksheet(model::Workbook& workbook, model::Sheet& sheet, int sheetIndex, const GlobalsIndex& globals);

// Describes the chart of a chart sheet, whose records are its chart substream, as the sheet's only chart.
void readChartSheet(const model::Workbook& workbook, model::Sheet& sheet, int sheetIndex, const GlobalsIndex& globals);

} // namespace sheet::biff
