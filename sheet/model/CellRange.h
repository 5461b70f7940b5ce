#pragma once

namespace sheet::model {

// A rectangle of cells, 0-based and inclusive at both ends.
struct CellRange {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;

    bool contains(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    friend bool operator==(const CellRange&, const CellRange&) = default;
};

} // namespace sheet::model
