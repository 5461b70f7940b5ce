#pragma once

#include "sheet/model/CellValue.h"
#include "sheet/model/Record.h"

#include <compare>
#include <cstdint>
#include <memory>
#include <vector>

namespace sheet::model {

// The position of a cell, 0-based; ordered row by row.
struct CellAddress {
    int row = 0;
    int column = 0;
    friend auto operator<=>(const CellAddress&, const CellAddress&) = default;
};

// The index of the XF that a cell without a record of its own uses.
inline constexpr int DefaultCellXf = 15;

// A cell of a worksheet. A formula cell keeps its records (FORMULA and what follows it) as they came,
// and `value` is the result stored with it.
struct Cell {
    CellValue value;
    int xf = DefaultCellXf;
    int sharedString = -1; // the string table entry the text came from, -1 when written since
    std::shared_ptr<const std::vector<Record>> formula;

    // Whether the cell belongs to the sheet's used range: it holds a value or a formula, or a
    // format other than the default.
    bool isUsed() const
    {
        return !std::holds_alternative<std::monostate>(value) || formula || xf != DefaultCellXf;
    }
};

} // namespace sheet::model
