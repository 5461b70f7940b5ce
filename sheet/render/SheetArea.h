#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/model/Workbook.h"

#include <optional>

namespace sheet::render {

// The used range grown as pictureArea grows a range; A1 alone for an empty sheet.
model::CellRange sheetArea(const model::Workbook& workbook, const model::Sheet& sheet);

// The smallest rectangle of cells that holds the range, every drawing object's anchor but a comment's (whose
// box shows only while the pointer rests on its cell), and the text that runs on from the range's cells over
// the empty cells to the right of its last column, as a long label runs over its empty neighbours.
model::CellRange pictureArea(const model::Workbook& workbook, const model::Sheet& sheet, const model::CellRange& range);

}  // namespace sheet::render
