#include "sheet/render/SheetArea.h"

#include "sheet/render/SheetGeometry.h"

#include <algorithm>

namespace sheet::render {

namespace {

// A comment's box shows only while the pointer rests on its cell.
constexpr int CommentObject = 0x19;

void include(std::optional<model::CellRange>& area, int row, int column)
{
    if (!area) {
        area = model::CellRange{row, column, row, column};
        return;
    }
    area->firstRow = std::min(area->firstRow, row);
    area->lastRow = std::max(area->lastRow, row);
    area->firstColumn = std::min(area->firstColumn, column);
    area->lastColumn = std::max(area->lastColumn, column);
}

std::optional<model::CellRange> growToDrawings(const model::Sheet& sheet, std::optional<model::CellRange> area)
{
    for (const model::DrawingObject& drawing : sheet.drawings) {
        if (drawing.objectType == CommentObject)
            continue;
        const model::Anchor& a = drawing.anchor;
        include(area, std::clamp(a.row1, 0, SheetGeometry::maxRows - 1), std::clamp(a.col1, 0, SheetGeometry::maxColumns - 1));
        include(area, std::clamp(a.row2, 0, SheetGeometry::maxRows - 1), std::clamp(a.col2, 0, SheetGeometry::maxColumns - 1));
    }
    return area;
}

}  // namespace

std::optional<model::CellRange> usedRange(const model::Sheet& sheet)
{
    std::optional<model::CellRange> area;
    for (const auto& [address, cell] : sheet.cells) {
        if (cell.isUsed())
            include(area, address.row, address.column);
    }
    return area;
}

model::CellRange sheetArea(const model::Sheet& sheet)
{
    return growToDrawings(sheet, usedRange(sheet)).value_or(model::CellRange{});
}

model::CellRange withDrawings(const model::Sheet& sheet, const model::CellRange& range)
{
    return *growToDrawings(sheet, range);
}

}  // namespace sheet::render
