#pragma once

#include "sheet/biff/ChartReader.h"
#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Fills the cells, rows, columns, view and drawings of `sheet` from its `records`.
void readWorksheet(model::Workbook& workbook, model::Sheet& sheet, int sheetIndex,
                   const SheetReferences& references);

} // namespace sheet::biff
