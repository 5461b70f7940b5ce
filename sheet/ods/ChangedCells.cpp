#include "sheet/ods/ChangedCells.h"

#include "sheet/Errors.h"

namespace sheet::ods {
namespace {

bool sameRow(const model::Sheet& a, const model::Sheet& b, int row)
{
    return a.rowHeight(row) == b.rowHeight(row) && a.rowHidden(row) == b.rowHidden(row);
}

} // namespace

std::vector<ChangedRows> changedCells(const model::Workbook& before, const model::Workbook& after)
{
    if (before.sheets.size() != after.sheets.size())
        throw ArgumentError("the workbook does not have the sheets of the package it came from");
    std::vector<ChangedRows> changed(before.sheets.size());
    for (std::size_t k = 0; k < before.sheets.size(); ++k) {
        const model::Sheet& a = before.sheets[k];
        const model::Sheet& b = after.sheets[k];
        if (a.name != b.name)
            throw ArgumentError("the workbook does not have the sheets of the package it came from");
        ChangedRows& rows = changed[k];
        auto x = a.cells.begin();
        auto y = b.cells.begin();
        while (x != a.cells.end() || y != b.cells.end()) {
            if (y == b.cells.end() || (x != a.cells.end() && x->first < y->first)) {
                rows[x->first.row].insert(x->first.column);
                ++x;
            } else if (x == a.cells.end() || y->first < x->first) {
                rows[y->first.row].insert(y->first.column);
                ++y;
            } else {
                if (x->second.xf != y->second.xf || before.value(x->second) != after.value(y->second))
                    rows[x->first.row].insert(x->first.column);
                ++x;
                ++y;
            }
        }
        for (const auto& [row, info] : b.rows)
            if (!sameRow(a, b, row))
                rows[row];
        for (const auto& [row, info] : a.rows)
            if (!sameRow(a, b, row))
                rows[row];
    }
    return changed;
}

} // namespace sheet::ods
