#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::test {

// The workbook as a reader of another format gives it: without the records it was read from, but for
// the references to sheets and the names (SUPBOOK, EXTERNSHEET, NAME ...) and each formula's records;
// its merged cells listed in the sheet, its cell formats without the bytes they were read from, and its
// charts described only by the model.
model::Workbook withoutRecords(model::Workbook workbook);

// Makes the first chart of the first sheet a flat chart of `type` with a legend on the right and, unless it
// draws pies, a category (or X) axis and a value axis with gridlines.
void redrawFirstChartAs(model::Workbook& workbook, model::ChartType type);

} // namespace sheet::test
