#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Sheet.h"

#include <vector>

namespace sheet::biff {

// The areas of a worksheet whose cells are merged: those the sheet lists without records, then those its
// MERGECELLS records list; a record cut short gives the areas it holds whole.
std::vector<model::CellRange> mergedCells(const model::Sheet& sheet);

} // namespace sheet::biff
