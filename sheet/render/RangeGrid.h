#pragma once

#include "sheet/model/CellRange.h"
#include "sheet/layout/SheetGeometry.h"

#include <QRect>

#include <vector>

namespace sheet::render {

// The pixel rectangles of the cells of one range, its top-left cell at (0, 0).
class RangeGrid {
public:
    RangeGrid(const layout::SheetGeometry& geometry, const model::CellRange& range);

    const model::CellRange& range() const { return range_; }
    long width() const { return left_.back(); }
    long height() const { return top_.back(); }
    QRect cell(int row, int column) const;
    // Columns first..last (inside the range) as one rectangle on the given row.
    QRect span(int row, int firstColumn, int lastColumn) const;

private:
    model::CellRange range_;
    std::vector<long> left_;  // one more than the columns: the right edge of the last
    std::vector<long> top_;
};

}  // namespace sheet::render
