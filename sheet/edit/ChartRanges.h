#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::edit {

// After a value (the empty text included) was written at (row, column) of a sheet: when a chart value
// or category range of one column ends directly above the cell, both ranges of its series grow to that
// row, so that they stay in step and an entry with an empty cell keeps the later entries in the chart
// (the references in the chart's records are rewritten in place), and the new points are noted in the
// chart, for each new slice of a pie to get a colour of its own when the workbook is written or drawn
// (biff::colourAddedSlices). The new row takes the data rows' look: the series' cells with the default
// format, or with a format that paints no fill, get the format of the cell two rows above (so the
// alternating fills go on), and the row gets the height of the row above.
void extendChartRanges(model::Workbook& workbook, int sheetIndex, int row, int column);

} // namespace sheet::edit
