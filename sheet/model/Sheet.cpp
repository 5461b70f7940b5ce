#include "sheet/model/Sheet.h"

namespace sheet::model {

const Cell* Sheet::cell(int row, int column) const
{
    auto found = cells.find(CellAddress{row, column});
    return found == cells.end() ? nullptr : &found->second;
}

const std::vector<Record>* Sheet::formulaOf(const CellAddress& at, const Cell& cell) const
{
    if (!cell.hasFormula())
        return nullptr;
    auto found = formulas.find(at);
    return found == formulas.end() ? nullptr : &found->second;
}

int Sheet::columnWidth(int column) const
{
    for (const ColumnInfo& info : columns)
        if (column >= info.first && column <= info.last)
            return info.width;
    return standardWidth ? *standardWidth : defaultColumnWidth * 256;
}

int Sheet::rowHeight(int row) const
{
    auto found = rows.find(row);
    return found == rows.end() ? defaultRowHeight : found->second.height;
}

bool Sheet::rowHidden(int row) const
{
    auto found = rows.find(row);
    return found == rows.end() ? defaultRowsHidden : found->second.hidden;
}

} // namespace sheet::model
