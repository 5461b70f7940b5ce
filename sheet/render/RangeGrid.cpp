#include "sheet/render/RangeGrid.h"

namespace sheet::render {

RangeGrid::RangeGrid(const layout::SheetGeometry& geometry, const model::CellRange& range) : range_(range)
{
    left_.push_back(0);
    for (int c = range.firstColumn; c <= range.lastColumn; ++c)
        left_.push_back(left_.back() + geometry.columnWidth(c));
    top_.push_back(0);
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        top_.push_back(top_.back() + geometry.rowHeight(r));
}

QRect RangeGrid::cell(int row, int column) const
{
    return span(row, column, column);
}

QRect RangeGrid::span(int row, int firstColumn, int lastColumn) const
{
    const auto c1 = static_cast<std::size_t>(firstColumn - range_.firstColumn);
    const auto c2 = static_cast<std::size_t>(lastColumn - range_.firstColumn + 1);
    const auto r = static_cast<std::size_t>(row - range_.firstRow);
    return QRect(static_cast<int>(left_[c1]), static_cast<int>(top_[r]), static_cast<int>(left_[c2] - left_[c1]),
                 static_cast<int>(top_[r + 1] - top_[r]));
}

}  // namespace sheet::render
