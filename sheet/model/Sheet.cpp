#include "sheet/model/Sheet.h"

#include <algorithm>

namespace sheet::model {

const Cell* Sheet::cell(int row, int column) const
{
    auto found = cells.find(CellAddress{row, column});
    return found == cells.end() ? nullptr : &found->second;
}

std::optional<CellRange> Sheet::usedRange() const
{
    std::optional<CellRange> range;
    for (const auto& [at, cell] : cells) {
        if (!cell.isUsed())
            continue;
        if (!range) {
            range = CellRange{at.row, at.column, at.row, at.column};
            continue;
        }
        range->firstRow = std::min(range->firstRow, at.row);
        range->lastRow = std::max(range->lastRow, at.row);
        range->firstColumn = std::min(range->firstColumn, at.column);
        range->lastColumn = std::max(range->lastColumn, at.column);
    }
    return range;
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

std::optional<std::size_t> Sheet::unplacedChart() const
{
    if (kind != SheetKind::Worksheet)
        return std::nullopt;
    std::vector<bool> placed(charts.size(), false);
    for (const DrawingObject& drawing : drawings) {
        if (drawing.chartIndex >= 0 && static_cast<std::size_t>(drawing.chartIndex) < charts.size())
            placed[static_cast<std::size_t>(drawing.chartIndex)] = true;
    }
    for (std::size_t k = 0; k < placed.size(); ++k) {
        if (!placed[k])
            return k;
    }
    return std::nullopt;
}

} // namespace sheet::model
