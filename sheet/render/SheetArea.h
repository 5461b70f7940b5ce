#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Sheet.h"

#include <optional>

namespace sheet::render {

// From the first to the last row and column that hold a value or a format of
// their own; nothing for a sheet without such cells.
std::optional<model::CellRange> usedRange(const model::Sheet& sheet);

// The used range grown to cover every drawing object's anchor but a comment's, whose box shows only
// while the pointer rests on its cell; A1 alone for an empty sheet.
model::CellRange sheetArea(const model::Sheet& sheet);

// The smallest rectangle of cells that holds the range and every drawing object's anchor but a comment's.
model::CellRange withDrawings(const model::Sheet& sheet, const model::CellRange& range);

}  // namespace sheet::render
