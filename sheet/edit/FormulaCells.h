#pragma once

#include "sheet/model/Sheet.h"

namespace sheet::edit {

// Readies a cell for a value of its own, before anything is written to it. A cell that belongs to an
// array formula or a data table of more than itself is refused with a PartialRangeError naming the
// cell and the range. When the cell starts a shared formula, the other cells of that formula are
// given formulas of their own, which keep what they compute.
void releaseFormulaCell(model::Sheet& sheet, const model::CellAddress& at);

} // namespace sheet::edit
