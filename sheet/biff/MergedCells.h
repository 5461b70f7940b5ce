#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Sheet.h"

#include <vector>

namespace sheet::biff {

// The areas of a worksheet whose cells are merged, as its MERGECELLS records list them; a record cut
// short gives the areas it holds whole.
std::vector<model::CellRange> mergedCells(const model::Sheet& sheet);

} // namespace sheet::biff
