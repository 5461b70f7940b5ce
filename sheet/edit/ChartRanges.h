#pragma once

#include "sheet/model/Workbook.h"

namespace sheet::edit {

// After a value was written at (row, column) of a sheet: every chart value or category range of one
// column that ends directly above the cell grows by that row (its reference in the chart's records is
// rewritten in place), and the new row takes the data rows' look: the series' cells with the default
// format, or with a format that paints no fill, get the format of the cell two rows above (so the
// alternating fills go on), and the row gets
// the height of the row above.
void extendChartRanges(model::Workbook& workbook, int sheetIndex, int row, int column);

} // namespace sheet::edit
