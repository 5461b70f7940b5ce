#pragma once

#include "sheet/biff/ChartReader.h"
#include "sheet/biff/RecordText.h"
#include "sheet/model/Workbook.h"

namespace sheet::biff {

// Fills the cells, rows, columns, view and drawings of `sheet` from its `records`, whose strings are
// held as `text` says.
void readWorksheet(model::Workbook& workbook, model::Sheet& sheet, int sheetIndex,
                   const SheetReferences& references, const RecordText& text);

} // namespace sheet::biff
